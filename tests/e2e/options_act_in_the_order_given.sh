#!/usr/bin/env bash
# The options are scanned once, left to right, each acting where it stands:
# -lx:version prints the version even when a later option fails, and
# -lx:silent silences only what comes after it.
source "$(dirname "$0")/common.inc"
need_lxpack
script_launcher setup.bin "SET N1 = 1"

run out ./setup.bin -lx:version
expect_eq "version" "2.47" "$out"
expect_eq "version status" 0 "$status"

run out ./setup.bin -lx:version -lx:log
expect_eq "version then a missing log name" "2.47
A log file name must be specified after the -lx:log option on the command line." "$out"
expect_eq "missing log name status" 255 "$status"

run out ./setup.bin -lx:silent -lx:version
expect_eq "silent before version" "" "$out"
run out ./setup.bin -lx:version -lx:silent
expect_eq "silent after version" "2.47" "$out"
