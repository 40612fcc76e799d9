#!/usr/bin/env bash
# EXECUTE_LAUNCHER at a position that holds no launcher logs the error and
# the script goes on with its next line, where the packager can handle it.
source "$(dirname "$0")/common.inc"
need_lxpack

script_launcher inner.bin "SET N1 = 1"
printf 'INSTRUCTIONS:\n  EXECUTE_LAUNCHER 0\n  SET N1 = went-on\n/:\n' > wrong.txt
make_launcher wrong.bin instructions=wrong.txt launcher=inner.bin >/dev/null
run out ./wrong.bin -lx:log "$T/wrong.log"
expect_contains "script went on" "Invalid numeric expression in went-on" "$out"
grep -qx "ERROR: Unable to execute the embedded launcher." wrong.log || fail "wrong position not logged"
