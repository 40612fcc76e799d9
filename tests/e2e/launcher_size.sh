#!/usr/bin/env bash
# The launcher program travels inside every installer built from it, so its
# stripped size is bounded: at most 600 KB (614400 bytes) in the release
# build.
source "$(dirname "$0")/common.inc"

limit=614400
if [ "${LX_SANITIZED:-0}" = "1" ]; then
  skip "the sanitizer build carries the sanitizer runtimes; the size is checked in the release build"
fi
build_type=$(sed -n 's/^CMAKE_BUILD_TYPE:[A-Z]*=//p' "$LX_BUILD_DIR/CMakeCache.txt")
[ "$build_type" = "Release" ] || skip "a $build_type build is not what ships; the size is checked in the release build"
command -v strip >/dev/null || fail "strip is missing (install binutils: scripts/install-deps)"

strip -o "$T/lxlauncher" "$LXLAUNCHER"
size=$(file_size "$T/lxlauncher")
echo "stripped lxlauncher: $size bytes (limit $limit)"
[ "$size" -le "$limit" ] || fail "the stripped launcher has $size bytes, more than $limit"
