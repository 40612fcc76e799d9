#!/usr/bin/env bash
# -lx:tempdir, -cp:p and -cp:a at the end of the command line, without their
# value, are ignored: the run goes on silently as without them. (-lx:javahome
# says that it is ignored: options_that_cannot_take_effect_say_so.)
source "$(dirname "$0")/common.inc"
need_lxpack
script_launcher setup.bin "SET N1 = 1"

for opt in -lx:tempdir -cp:p -cp:a; do
  run out ./setup.bin "$opt"
  expect_eq "$opt without value is ignored" "" "$out"
  expect_eq "$opt without value status" 0 "$status"
done
