#!/usr/bin/env bash
# A calling program may quote the input file's name after -lx:in: the file
# is opened without the quotes, and the log shows the name as given.
source "$(dirname "$0")/common.inc"
need_lxpack
script_launcher setup.bin "SET S1 = embedded" "SET N1 = @S1@"

printf 'INSTRUCTIONS:\n  SET S2 = from-input\n  SET N2 = @S2@\n/:\n' > mine.txt
printf 'ACTION: RUN_INSTRUCTIONS\nINSTRUCTIONS: mine.txt\nLOGFILE: %s\n' "$T/run.log" > run.tag
run out ./setup.bin -lx:log "$T/run.log" -lx:in '"run.tag"'
expect_eq "the quoted file was read" "Invalid value specified for SET command Invalid numeric expression in from-input" "$out"
expect_eq "status" 255 "$status"
grep -qx 'Loading input file "run.tag"' "$T/run.log" || fail "quoted input name not logged as given"
