#!/usr/bin/env bash
# -lx:extract loads the archive's index without the embedded tag files, so
# an input file after it without INSTRUCTIONS has nothing to run: only the
# extraction's progress dots (one per file) and what it wrote, status 255,
# and the embedded instructions, which would launch the application, do not
# run.
source "$(dirname "$0")/common.inc"
source "$(dirname "$0")/unpacked_launcher.inc"

mkdir unpacked
cd unpacked
printf 'ACTION: RUN_INSTRUCTIONS\n' > plain.tag
run out ../setup.bin -lx:extract -lx:in plain.tag
bytes=$(($(file_size instructions.txt) + $(file_size launch.txt) + $(file_size app.jvm) + $(file_size input.tag)))
expect_eq "only the extraction's progress dots and what it wrote" "...
Extracted 4 files ($bytes bytes) into $T/unpacked" "$out"
expect_eq "nothing to run status" 255 "$status"
