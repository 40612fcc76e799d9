#!/usr/bin/env bash
# -lx:in without a file name prints its message and runs no instructions:
# the caller asked for a job the launcher cannot know, so it ends with 255.
source "$(dirname "$0")/common.inc"
need_lxpack
script_launcher setup.bin "SET N1 = 1"

run out ./setup.bin -lx:in
expect_eq "missing input name" "An input file name must follow the '-in' command line option." "$out"
expect_eq "no instructions after a missing input name" 255 "$status"
