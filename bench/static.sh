#!/usr/bin/env bash
# The static launcher program against the same code linked dynamically (as
# it was before it had to start on any Linux): the stripped size of each
# architecture's program (limit 1.2 MB) and the time from start to the exit
# of -lx:version (limit: 1.0 times the dynamic program's).
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
src=${LX_SOURCE_DIR:-$(dirname "$here")}
build=${LX_BUILD_DIR:-$src/build}
[ -f "$build/liblxcore.a" ] && [ -x "$build/lxlauncher" ] || { echo "no release build in $build (run bench/run)" >&2; exit 1; }

work=$(mktemp -d "${TMPDIR:-/tmp}/lxbench.XXXXXX")
trap 'rm -rf "$work"' EXIT
# The reference: the C library and the loader shared, the C++ runtime static.
c++ -std=c++17 -O2 -I"$src/src" "$src/src/launcher/main.cpp" "$build/liblxcore.a" \
    -static-libstdc++ -static-libgcc -Wl,--gc-sections -o "$work/lxlauncher-dynamic"

status=0
limit=1200000
strip -o "$work/static" "$build/lxlauncher"
strip -o "$work/dynamic" "$work/lxlauncher-dynamic"
printf 'size x86_64: static %d bytes, dynamic %d bytes (limit %d)\n' \
  "$(stat -c %s "$work/static")" "$(stat -c %s "$work/dynamic")" "$limit"
[ "$(stat -c %s "$work/static")" -le "$limit" ] || status=1
for arch in aarch64 x86_64; do
  program=$build/lxlauncher-$arch
  [ -f "$program" ] || continue
  "$arch-linux-gnu-strip" -o "$work/$arch" "$program"
  printf 'size %s: static %d bytes (limit %d)\n' "$arch" "$(stat -c %s "$work/$arch")" "$limit"
  [ "$(stat -c %s "$work/$arch")" -le "$limit" ] || status=1
done

python3 "$here/static/start_time.py" "$build/lxlauncher" "$work/lxlauncher-dynamic" || status=1
exit $status
