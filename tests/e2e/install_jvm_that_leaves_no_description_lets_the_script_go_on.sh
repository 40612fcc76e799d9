#!/usr/bin/env bash
# An installer that leaves no jvm description installs nothing: N1 stays 0,
# so the script goes on to its own way out, and the log says why.
source "$(dirname "$0")/common.inc"
source "$(dirname "$0")/bundled_jvm.inc"

printf '#!/bin/sh\ntrue\n' > empty-installer.sh
make_launcher empty.bin instructions=instructions.txt launch-script=launch.txt jvm-installer=empty-installer.sh >/dev/null
run out ./empty.bin -lx:log "$T/empty.log"
expect_contains "no jvm file: the script went on to its label" "Invalid numeric expression in not-installed" "$out"
grep -qx "ERROR: Invalid bundled JVM. Missing 'jvm' file." empty.log || fail "missing jvm file not logged"
