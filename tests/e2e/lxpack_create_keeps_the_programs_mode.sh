#!/usr/bin/env bash
# The launcher that lxpack create writes has the mode of the program it
# was made from, so that a packager's permissions carry over to the setup
# file users download.
source "$(dirname "$0")/common.inc"
source "$(dirname "$0")/packed_layout.inc"

expect_eq "mode" 750 "$(stat -c %a setup.bin)"
