#!/usr/bin/env bash
# LAUNCH returns the application's exit status as the launcher's, and when
# the run failed prints the application's error output after everything
# else (the title shown when the launch script loaded comes first), so the
# user sees why the wizard ended. Temporary files are removed.
source "$(dirname "$0")/common.inc"
source "$(dirname "$0")/launched_application.inc"

run out ./setup.bin "x y"
expect_eq "exit status of the application" 3 "$status"
expect_eq "error output printed after the run" "Test Application
it failed" "$out"
[ -z "$(ls -A "$T/tmp")" ] || fail "temporary files left behind: $(ls -A "$T/tmp")"
