#!/usr/bin/env bash
# An input file without ACTION, or with one the launcher does not know, is
# refused with the action named (empty when missing), status 255 and an
# error in the log: a calling program learns that nothing was done.
source "$(dirname "$0")/common.inc"
need_lxpack
script_launcher setup.bin "SET S1 = embedded" "SET N1 = @S1@"

printf 'LOGFILE: %s\n' "$T/in.log" > noaction.tag
run out ./setup.bin -lx:in noaction.tag
expect_eq "no ACTION" "Invalid action in input file: 
Invalid action in input file: " "$out"
expect_eq "no ACTION status" 255 "$status"
grep -qx 'ERROR: Invalid action in input file: ' "$T/in.log" || fail "invalid action not logged"

printf 'ACTION: FLY\n' > fly.tag
run out ./setup.bin -lx:in fly.tag
expect_eq "unknown ACTION" "Invalid action in input file: FLY
Invalid action in input file: FLY" "$out"
expect_eq "unknown ACTION status" 255 "$status"
