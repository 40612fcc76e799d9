#!/usr/bin/env bash
# A launcher file that was cut short (an interrupted download) no longer
# ends with the archive's identification value, and it is longer than its
# own program (or, cut inside the program, shorter): it says on the console
# and in the log that it is incomplete and should be downloaded again, ends
# with status 255, extracts nothing and does not run the wizard, wherever
# the cut is.
source "$(dirname "$0")/common.inc"
source "$(dirname "$0")/damaged_launcher.inc"
message="The launcher file is damaged: it is incomplete, probably cut short while it was downloaded. Please download the launcher again."

# Cut within the trailer, the index, the checksum block, the embedded data,
# right after the program, and within the program's last bytes (its
# section headers, which are not loaded: the program still starts).
for keep in $((size - 1)) $((size - 9)) $((index + 10)) $((index - 6)) $((program + 50000)) $((program + 1)) \
  $((program - 20)); do
  head -c "$keep" good.bin > cut.bin
  chmod +x cut.bin
  rm -f log.txt
  run out ./cut.bin -lx:log "$T/log.txt"
  expect_eq "cut to $keep bytes: status" 255 "$status"
  expect_eq "cut to $keep bytes: output" "$message" "$out"
  expect_contains "cut to $keep bytes: log" "ERROR: $message" "$(cat log.txt)"
  expect_nothing_ran "cut to $keep bytes"
done

# The program alone is whole: it has nothing to run, and says nothing.
head -c "$program" good.bin > bare.bin
chmod +x bare.bin
run out ./bare.bin
expect_eq "bare program: status" 255 "$status"
expect_eq "bare program: output" "" "$out"
