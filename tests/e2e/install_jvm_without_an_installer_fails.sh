#!/usr/bin/env bash
# INSTALL_JVM in a launcher that carries no installer ends the script with
# the catalogue text and status 255: a packaging mistake shows at once.
source "$(dirname "$0")/common.inc"
source "$(dirname "$0")/bundled_jvm.inc"

make_launcher none.bin instructions=instructions.txt launch-script=launch.txt >/dev/null
run out ./none.bin
expect_eq "no installer" "App
No JVM installer was included in the launcher." "$out"
expect_eq "no installer status" 255 "$status"
