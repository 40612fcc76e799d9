#!/usr/bin/env bash
# An application that ends with 0 has its error output kept off the
# console: warnings of a successful wizard are not shown as a failure.
source "$(dirname "$0")/common.inc"
source "$(dirname "$0")/launched_application.inc"

fake_jvm "$T/jvm" 'echo "quiet" >&2; exit 0'
run out ./setup.bin
expect_eq "success status" 0 "$status"
expect_eq "nothing printed after a successful run" "Test Application" "$out"
