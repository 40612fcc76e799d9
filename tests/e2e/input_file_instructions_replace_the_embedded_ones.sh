#!/usr/bin/env bash
# The instructions an input file names run instead of the embedded ones:
# this is how a calling program or a support engineer runs a changed script
# without repacking the launcher.
source "$(dirname "$0")/common.inc"
need_lxpack
script_launcher setup.bin "SET S1 = embedded" "SET N1 = @S1@"

printf 'INSTRUCTIONS:\n  SET S2 = from-input\n  SET N2 = @S2@\n/:\n' > mine.txt
printf 'ACTION: RUN_INSTRUCTIONS\nINSTRUCTIONS: mine.txt\n' > run.tag
run out ./setup.bin -lx:in run.tag
expect_eq "input instructions" "Invalid value specified for SET command Invalid numeric expression in from-input" "$out"
expect_eq "input instructions status" 255 "$status"
