#!/usr/bin/env bash
# The launcher program travels inside every installer built from it, so its
# stripped size is bounded: at most 1.2 MB (1200000 bytes) in the release
# build, for every architecture built. It is linked statically, C library
# and C++ runtime included, so that it starts on any Linux.
source "$(dirname "$0")/common.inc"

limit=1200000
if [ "${LX_SANITIZED:-0}" = "1" ]; then
  skip "the sanitizer build carries the sanitizer runtimes; the size is checked in the release build"
fi
build_type=$(sed -n 's/^CMAKE_BUILD_TYPE:[A-Z]*=//p' "$LX_BUILD_DIR/CMakeCache.txt")
[ "$build_type" = "Release" ] || skip "a $build_type build is not what ships; the size is checked in the release build"
command -v strip >/dev/null || fail "strip is missing (install binutils: scripts/install-deps)"

# strip of binutils reads ELF files of any architecture it was built for;
# Debian's cross binutils bring their own.
check_size() {
  local program=$1 stripper=$2
  "$stripper" -o "$T/stripped" "$program"
  local size
  size=$(file_size "$T/stripped")
  echo "stripped $(basename "$program"): $size bytes (limit $limit)"
  [ "$size" -le "$limit" ] || fail "the stripped $program has $size bytes, more than $limit"
}

check_size "$LXLAUNCHER" strip
for arch in x86_64 aarch64; do
  var=LXLAUNCHER_${arch^^}
  program=${!var:-}
  [ -n "$program" ] && [ "$program" != "$LXLAUNCHER" ] || continue
  stripper=$arch-linux-gnu-strip
  command -v "$stripper" >/dev/null || stripper=strip
  check_size "$program" "$stripper"
done
