#!/usr/bin/env bash
# The launcher is shipped to unknown Linux machines, with a C library of any
# age or none: every launcher program this build makes (one per
# architecture) is fully static, with no program interpreter and no shared
# library to load; the linker refuses functions that would load the host's
# name-service modules, and launcher_reads_no_host_locale_data checks that
# no locale or converter file of the host is read either.
source "$(dirname "$0")/common.inc"

if [ "${LX_SANITIZED:-0}" = "1" ]; then
  skip "the sanitizer build links the sanitizer runtimes; linkage is checked in the release build"
fi
command -v readelf >/dev/null || fail "readelf is missing (install binutils: scripts/install-deps)"

programs=("$LXLAUNCHER")
[ -n "${LXLAUNCHER_AARCH64:-}" ] && [ "$LXLAUNCHER_AARCH64" != "$LXLAUNCHER" ] && programs+=("$LXLAUNCHER_AARCH64")
[ -n "${LXLAUNCHER_X86_64:-}" ] && [ "$LXLAUNCHER_X86_64" != "$LXLAUNCHER" ] && programs+=("$LXLAUNCHER_X86_64")

for program in "${programs[@]}"; do
  [ -f "$program" ] || fail "$program was not built"
  headers=$(readelf -lW "$program")
  expect_contains "$program program headers" "LOAD" "$headers"
  if grep -q INTERP <<<"$headers"; then
    fail "$program asks for a program interpreter: $(grep -A1 INTERP <<<"$headers" | tail -1)"
  fi
  needed=$(readelf -dW "$program" | sed -n 's/.*(NEEDED).*\[\(.*\)\]/\1/p')
  [ -z "$needed" ] || fail "$program needs shared libraries: $needed"
  echo "$(readelf -hW "$program" | sed -n 's/ *Machine: *//p'): $program is static"
done
