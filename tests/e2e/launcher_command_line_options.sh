#!/usr/bin/env bash
# The options are scanned once, left to right, each acting where it stands.
source "$(dirname "$0")/common.inc"
need_lxpack
script_launcher setup.bin "SET N1 = 1"

run out ./setup.bin -lx:version
expect_eq "version" "2.47" "$out"
expect_eq "version status" 0 "$status"

run out ./setup.bin -lx:version -lx:log
expect_eq "version then a missing log name" "2.47
A log file name must be specified after the -log option on the command line." "$out"
expect_eq "missing log name status" 255 "$status"

run out ./setup.bin -lx:silent -lx:version
expect_eq "silent before version" "" "$out"
run out ./setup.bin -lx:version -lx:silent
expect_eq "silent after version" "2.47" "$out"

# A missing value prints its message; a later successful instructions run
# replaces the result.
run out ./setup.bin -lx:orig
expect_eq "missing original name" "Missing original launcher file name." "$out"
expect_eq "instructions ran after the missing value" 0 "$status"

run out ./setup.bin -lx:in
expect_eq "missing input name" "An input file name must follow the '-in' command line option." "$out"
expect_eq "no instructions after a missing input name" 255 "$status"

for opt in -lx:javahome -lx:tempdir -cp:p -cp:a; do
  run out ./setup.bin "$opt"
  expect_eq "$opt without value is ignored" "" "$out"
  expect_eq "$opt without value status" 0 "$status"
done

# Options are compared exactly: these are pass-on arguments.
run out ./setup.bin -LX:VERSION -lx:version=1
expect_eq "unrecognised spellings" "" "$out"
expect_eq "unrecognised spellings status" 0 "$status"

# -lx:log writes the run's diagnostics, starting with the separator.
run out ./setup.bin -lx:log "$T/run.log"
expect_eq "log status" 0 "$status"
head -1 "$T/run.log" | grep -qx -- '------------------' || fail "log does not start with the separator"
grep -q '^  file name: instructions.txt$' "$T/run.log" || fail "index listing missing from the log"
