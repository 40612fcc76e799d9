#!/usr/bin/env bash
# lxpack create refuses a launcher program that already carries an archive
# (a finished launcher given as the program by mistake): the launcher would
# only ever see the outer archive. Nothing is written.
source "$(dirname "$0")/common.inc"
need_lxpack

printf 'INSTRUCTIONS:\n  INITIALIZE_UI\n/:\n' > instr.txt
make_launcher inner.bin instructions=instr.txt
status=0
"$LXPACK" create -s inner.bin -o outer.bin application=instr.txt 2> err.txt || status=$?
expect_eq "stub with an archive" 1 "$status"
expect_contains "stub with an archive" "inner.bin already carries an archive" "$(cat err.txt)"
[ ! -e outer.bin ] || fail "outer.bin was written"
