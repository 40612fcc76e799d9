#!/usr/bin/env bash
# The launcher is shipped to unknown Linux machines: apart from the C library
# (libc, libm) and the loader it may need no shared library at all.
source "$(dirname "$0")/common.inc"

if [ "${LX_SANITIZED:-0}" = "1" ]; then
  skip "the sanitizer build links the sanitizer runtimes; linkage is checked in the release build"
  exit 77
fi
needed=$(readelf -d "$LXLAUNCHER" | sed -n 's/.*(NEEDED).*\[\(.*\)\]/\1/p')
[ -n "$needed" ] || fail "readelf found no NEEDED entries at all in $LXLAUNCHER"
while read -r lib; do
  case "$lib" in
    libc.so.*|libm.so.*|ld-linux*.so.*) ;;
    *) fail "$LXLAUNCHER needs $lib at run time" ;;
  esac
done <<< "$needed"
echo "needed: $(echo $needed)"
