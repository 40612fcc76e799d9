#!/usr/bin/env bash
# A launcher file that was cut short (an interrupted download) no longer
# ends with the archive's identification value and so has no archive at
# all: it prints nothing, ends with status 255, extracts nothing and does
# not run the wizard, wherever the cut is.
source "$(dirname "$0")/common.inc"
source "$(dirname "$0")/damaged_launcher.inc"

# Cut within the trailer, within the index, and within the embedded data.
for keep in $((size - 1)) $((size - 9)) $((index + 10)) $((program + 50000)); do
  head -c "$keep" good.bin > cut.bin
  chmod +x cut.bin
  run out ./cut.bin
  expect_eq "cut to $keep bytes: status" 255 "$status"
  expect_eq "cut to $keep bytes: output" "" "$out"
  expect_nothing_ran "cut to $keep bytes"
done
