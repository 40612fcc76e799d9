#!/usr/bin/env bash
# A launcher whose file index was damaged says what it could not read of
# the index, ends with status 255, extracts nothing and does not run the
# wizard. (With the checksums lxpack records, the same damage is told as a
# damaged file: launcher_file_damaged_anywhere_runs_nothing.sh.)
source "$(dirname "$0")/common.inc"
pack_options=(--no-checksums)
source "$(dirname "$0")/damaged_launcher.inc"

# damaged_case WHAT OFFSET BYTES MESSAGE
damaged_case() {
  cp good.bin damaged.bin
  put_bytes damaged.bin "$2" "$3"
  run out ./damaged.bin
  expect_eq "$1: status" 255 "$status"
  expect_eq "$1: message" "Unable to load the launcher file index. $4" "$out"
  expect_nothing_ran "$1"
}
damaged_case "index offset beyond the end" $((size - 8)) '\177\377\377\377' "Unable to read the file count."
damaged_case "more entries than the index holds" "$index" '\000\000\377\377' "Unable to load offset to file bytes."
damaged_case "an unknown file type" $((index + 4)) '\011' "Invalid file type in file index."
