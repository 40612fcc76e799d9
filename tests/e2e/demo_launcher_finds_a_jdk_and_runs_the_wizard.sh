#!/usr/bin/env bash
# The demo launcher (what scripts/demo runs) finds a JDK of this machine by
# its hints, verifies it for real and starts the demo wizard with it, which
# gets the pass-on arguments; nothing is left in TMPDIR.
source "$(dirname "$0")/common.inc"
demo=$LX_BUILD_DIR/demo/setup.bin
[ -x "$demo" ] || fail "the demo launcher was not built: $demo"
find_jdk >/dev/null
mkdir tmp
export TMPDIR=$T/tmp

run out "$demo" extra-arg </dev/null
expect_eq "demo status" 0 "$status"
expect_contains "start-up status" "Initializing Demo Setup Wizard..." "$out"
expect_contains "search status" "Searching for Java(tm) Virtual Machine..." "$out"
expect_contains "greeting" "Welcome to the demo setup wizard." "$out"
expect_contains "pass-on argument" "arguments = [run] [extra-arg]" "$out"
expect_contains "finished" "Setup finished." "$out"
[ -z "$(ls -A tmp)" ] || fail "temporary files left behind: $(ls -A tmp)"
