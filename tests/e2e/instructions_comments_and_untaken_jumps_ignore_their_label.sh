#!/usr/bin/env bash
# A comment line and a jump that is not taken never look at their label: a
# script may name a label that exists only in another version of it.
source "$(dirname "$0")/common.inc"
need_lxpack

script_launcher ok.bin "// anything at all" "SET N1 = 5" "JMP0 @N1@ NOWHERE"
run out ./ok.bin
expect_eq "comment and untaken jump" "" "$out"
expect_eq "comment and untaken jump status" 0 "$status"
