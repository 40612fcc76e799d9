#!/usr/bin/env bash
# -lx:extract unpacks the archive with an input.tag; running the launcher
# with -lx:in input.tag from that directory takes the instructions, launch
# script and JVM descriptions from the unpacked files, so a packager can
# change them and try again without repacking.
source "$(dirname "$0")/common.inc"
source "$(dirname "$0")/unpacked_launcher.inc"

mkdir unpacked mytmp
(cd unpacked && ../setup.bin -lx:extract) >/dev/null || fail "-lx:extract failed"
# The unpacked launch script is changed: the run must use it, not the embedded one.
sed -i 's/tmp=/unpacked-tmp=/' unpacked/launch.txt
run out bash -c "cd unpacked && ../setup.bin -lx:tempdir '$T/mytmp' -lx:in input.tag"
expect_eq "run from the unpacked files" 9 "$status"
expect_eq "output" "Unpacked
ran unpacked-tmp=$T/mytmp" "$out"
