#!/usr/bin/env bash
# -lx:log writes the run's diagnostics to the named file, starting with the
# separator and listing the archive's index, for whoever has to find out
# what happened on a user's machine.
source "$(dirname "$0")/common.inc"
need_lxpack
script_launcher setup.bin "SET N1 = 1"

run out ./setup.bin -lx:log "$T/run.log"
expect_eq "log status" 0 "$status"
head -1 "$T/run.log" | grep -qx -- '------------------' || fail "log does not start with the separator"
grep -q '^  file name: instructions.txt$' "$T/run.log" || fail "index listing missing from the log"
