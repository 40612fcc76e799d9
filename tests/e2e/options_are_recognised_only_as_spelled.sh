#!/usr/bin/env bash
# Options are compared exactly: another case or a value joined with "=" make
# an argument passed on to the wizard, not an option of the launcher.
source "$(dirname "$0")/common.inc"
need_lxpack
script_launcher setup.bin "SET N1 = 1"

run out ./setup.bin -LX:VERSION -lx:version=1
expect_eq "unrecognised spellings" "" "$out"
expect_eq "unrecognised spellings status" 0 "$status"
