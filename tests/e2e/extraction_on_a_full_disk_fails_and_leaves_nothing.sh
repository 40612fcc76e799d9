#!/usr/bin/env bash
# -lx:extract on a file system that fills up while input.tag is written
# fails with the system's reason and status 255, and takes back what it
# wrote: no empty or half-written input.tag is left to be mistaken for a
# whole one.
source "$(dirname "$0")/common.inc"
need_lxpack
# Two pages: one for each small file extracted, none left for input.tag.
mount_tmpfs small size=8k

printf 'INSTRUCTIONS:\n  INITIALIZE_UI\n/:\n' > instr.txt
printf 'DESC: Product\nCOMMAND: run\n' > launch.txt
make_launcher setup.bin instructions=instr.txt launch-script=launch.txt 2>/dev/null

set +e
out=$(cd small && "$T/setup.bin" -lx:extract)
status=$?
set -e
expect_eq "status" 255 "$status"
expect_contains "reason" "Unable to extract embedded files from the launcher. Unable to write input.tag: No space left on device" "$out"
expect_eq "files left" "" "$(ls -A small)"
