#!/usr/bin/env bash
# Scripts jump by values computed at run time: JMP0 on a variable and GOTO
# to a label held in a variable. The path taken shows in the value that
# finally fails to parse as a number.
source "$(dirname "$0")/common.inc"
need_lxpack

script_launcher jumps.bin \
  ":START" \
  "SET N1 = 0" \
  "JMP0 @N1@ SKIP" \
  "SET S1 = wrong-path" \
  ":SKIP" \
  "SET S2 = L2" \
  "GOTO @S2@" \
  "SET S1 = also-wrong" \
  ":L2" \
  "SET S1 = \"right path\"" \
  "SET N3 = @S1@"
run out ./jumps.bin
expect_eq "computed jumps" "Invalid value specified for SET command Invalid numeric expression in right path" "$out"
expect_eq "status" 255 "$status"
