#!/usr/bin/env bash
# With -lx:javaconsole the application writes to the terminal itself:
# nothing is captured or logged, and its status is still the launcher's.
source "$(dirname "$0")/common.inc"
source "$(dirname "$0")/launched_application.inc"

run out ./setup.bin -lx:log "$T/console.log" -lx:javaconsole
expect_eq "console mode status" 3 "$status"
expect_contains "application output on the console" "arg[run]" "$out"
if grep -q "Output from the launch script execution" console.log; then fail "console mode output was captured"; fi
