#!/usr/bin/env bash
# -lx:orig without the original launcher's name prints its message, but the
# instructions still run and their success is the run's result.
source "$(dirname "$0")/common.inc"
need_lxpack
script_launcher setup.bin "SET N1 = 1"

run out ./setup.bin -lx:orig
expect_eq "missing original name" "Missing original launcher file name." "$out"
expect_eq "instructions ran after the missing value" 0 "$status"
