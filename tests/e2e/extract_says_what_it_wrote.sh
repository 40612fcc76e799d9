#!/usr/bin/env bash
# -lx:extract writes into the current directory, ends its line of dots and
# then says how many files and bytes it wrote, and where.
source "$(dirname "$0")/common.inc"
need_lxpack
head -c 200000 /dev/urandom > app.jar
printf 'INSTRUCTIONS:\n  SET N1 = 1\n/:\n' > instructions.txt
make_launcher setup.bin instructions=instructions.txt application=app.jar >/dev/null

mkdir unpacked
cd unpacked
run out ../setup.bin -lx:extract
expect_eq "status" 0 "$status"
cmp -s app.jar ../app.jar || fail "app.jar was not written whole into the current directory"
bytes=$(($(file_size app.jar) + $(file_size instructions.txt) + $(file_size input.tag)))
# One dot per block of 61439 bytes copied (one for the instructions, four
# for the jar), then the summary on a line of its own.
expect_eq "dots, then what was written" ".....
Extracted 3 files ($bytes bytes) into $T/unpacked" "$out"
