#!/usr/bin/env bash
# From the input file on, its LOGFILE decides the log: the log named by
# -lx:log before -lx:in gets the lines up to the input file's loading, the
# input file's LOGFILE the rest, and an input file without LOGFILE switches
# logging off. A calling program thus gets its own log for its action.
source "$(dirname "$0")/common.inc"
need_lxpack
script_launcher setup.bin "SET S1 = embedded" "SET N1 = @S1@"
failure='ERROR: Invalid value specified for SET command Invalid numeric expression in embedded'

printf 'ACTION: RUN_INSTRUCTIONS\nLOGFILE: %s\n' "$T/after.log" > withlog.tag
run out ./setup.bin -lx:log "$T/before.log" -lx:in withlog.tag
expect_eq "with LOGFILE: status" 255 "$status"
grep -qx 'Loading input file withlog.tag' "$T/before.log" || fail "input file load not in the first log"
if grep -q 'Invalid numeric expression' "$T/before.log"; then fail "the first log went on after the input file's LOGFILE"; fi
grep -qxF "$failure" "$T/after.log" || fail "the input file's LOGFILE did not get the rest: $(cat "$T/after.log")"

printf 'ACTION: RUN_INSTRUCTIONS\n' > nolog.tag
run out ./setup.bin -lx:log "$T/nolog.log" -lx:in nolog.tag
expect_eq "without LOGFILE: status" 255 "$status"
grep -q 'Loading input file nolog.tag' "$T/nolog.log" || fail "input file load not logged"
if grep -q 'Invalid numeric expression' "$T/nolog.log"; then fail "logging went on after an input file without LOGFILE"; fi
