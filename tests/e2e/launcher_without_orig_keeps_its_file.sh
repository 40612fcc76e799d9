#!/usr/bin/env bash
# A launcher started without -lx:orig is the user's own file: its run
# leaves it in place.
source "$(dirname "$0")/common.inc"
need_lxpack
script_launcher setup.bin "SET N1 = 1"

run out ./setup.bin
expect_eq "plain run status" 0 "$status"
[ -e setup.bin ] || fail "a plain run removed its own file"
