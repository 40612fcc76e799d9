#!/usr/bin/env bash
# The demo launcher (what scripts/demo runs) finds a JDK of this machine by
# its hints, verifies it for real and starts the demo wizard with it; with
# -lx:javahome it takes the given JDK.
source "$(dirname "$0")/common.inc"
demo=$LX_BUILD_DIR/demo/setup.bin
[ -x "$demo" ] || fail "the demo launcher was not built: $demo"
jdk=$(find_jdk)
mkdir tmp
export TMPDIR=$T/tmp

run out "$demo" extra-arg </dev/null
expect_eq "demo status" 0 "$status"
expect_contains "start-up status" "Initializing Demo Setup Wizard..." "$out"
expect_contains "search status" "Searching for Java(tm) Virtual Machine..." "$out"
expect_contains "greeting" "Welcome to the demo setup wizard." "$out"
expect_contains "pass-on argument" "arguments = [run] [extra-arg]" "$out"
expect_contains "finished" "Setup finished." "$out"

run out "$demo" -lx:javahome "$jdk" --exit=5 </dev/null
expect_eq "status of the wizard" 5 "$status"
expect_contains "the given JDK" "lx.jvm.home = $jdk" "$out"
[ -z "$(ls -A tmp)" ] || fail "temporary files left behind: $(ls -A tmp)"

# The shipped script without a matching JVM: the failure message, then the
# script falls through to its install label and ends with 0.
printf 'DESC: None\nJVM_EXE: bin/no-such-java\nJVM_PROPERTIES:\n  java.vendor=...\n/:\n' > none.jvm
printf 'ACTION: RUN_INSTRUCTIONS\nSHOW_FAIL_MSG: 1\nJVM: %s\n' "$T/none.jvm" > none.tag
run out "$demo" -lx:in none.tag </dev/null
expect_eq "no JVM status" 0 "$status"
expect_contains "no JVM message" "A suitable JVM could not be found. Please run the installer again using the option -lx:javahome <JAVA HOME DIR>" "$out"
case "$out" in *"Welcome"*) fail "the wizard ran without a JVM" ;; esac
