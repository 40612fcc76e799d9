#!/usr/bin/env bash
# The release launcher program, which lxpack puts in front of every
# launcher, carries no symbol table: a launcher is the stripped program and
# its archive, and still runs and is read as a whole launcher.
source "$(dirname "$0")/common.inc"
need_lxpack
build_type=$(sed -n 's/^CMAKE_BUILD_TYPE:[A-Z]*=//p' "$LX_BUILD_DIR/CMakeCache.txt")
[ "$build_type" = "Release" ] || skip "a $build_type build keeps its symbols; what ships is the release build"
command -v readelf >/dev/null || fail "readelf is missing (install binutils: scripts/install-deps)"

printf 'INSTRUCTIONS:\n  SET N1 = 1\n/:\n' > instructions.txt
"$LXPACK" create --force -o setup.bin instructions=instructions.txt 2>/dev/null || fail "lxpack create failed"
for file in "$LXLAUNCHER" setup.bin; do
  sections=$(readelf -SW "$file") || fail "readelf cannot read $file"
  case $sections in *SYMTAB*) fail "$file carries a symbol table: $(grep -E 'SYMTAB|STRTAB' <<<"$sections")" ;; esac
done
expect_eq "lxpack check" "setup.bin: OK, $(uname -m), 1 entries" "$("$LXPACK" check setup.bin)"
run out ./setup.bin
expect_eq "the stripped launcher runs ($(cat "$T/.stderr"))" 0 "$status"
