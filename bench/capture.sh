#!/usr/bin/env bash
# Captured child output: a 200 MB writer against the same writer piped into
# cat, and the cost of starting one captured child against a bare
# fork/exec/wait. Builds its driver against the release library.
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
src=${LX_SOURCE_DIR:-$(dirname "$here")}
build=${LX_BUILD_DIR:-$src/build}
[ -f "$build/liblxcore.a" ] || { echo "no release build in $build (run bench/run)" >&2; exit 1; }

work=$(mktemp -d "${TMPDIR:-/tmp}/lxbench.XXXXXX")
trap 'rm -rf "$work"' EXIT
c++ -std=c++17 -O2 -I"$src/src" "$here/capture/CaptureBench.cpp" "$build/liblxcore.a" \
    -o "$work/capture_bench"

status=0
"$work/capture_bench" bulk 200 7 || status=1
"$work/capture_bench" start 300 7 || status=1
exit $status
