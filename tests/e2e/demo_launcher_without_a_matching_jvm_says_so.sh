#!/usr/bin/env bash
# The demo's shipped script without a matching JVM: the failure message on
# a line of its own (the search's dots end first), then the script falls
# through to its install label and the launcher ends with 69, the status of
# a run that found no JVM, and the wizard does not run.
source "$(dirname "$0")/common.inc"
demo=$LX_BUILD_DIR/demo/setup.bin
[ -x "$demo" ] || fail "the demo launcher was not built: $demo"
mkdir tmp
export TMPDIR=$T/tmp

printf 'DESC: None\nJVM_EXE: bin/no-such-java\nJVM_PROPERTIES:\n  java.vendor=...\n/:\n' > none.jvm
printf 'ACTION: RUN_INSTRUCTIONS\nSHOW_FAIL_MSG: 1\nJVM: %s\n' "$T/none.jvm" > none.tag
run out "$demo" -lx:in none.tag </dev/null
expect_eq "no JVM status" 69 "$status"
expect_contains "no JVM message on a line of its own" "
A suitable JVM could not be found. Please run the installer again using the option -lx:javahome <JAVA HOME DIR>" "$out"
case "$out" in *"Welcome"*) fail "the wizard ran without a JVM" ;; esac
[ -z "$(ls -A tmp)" ] || fail "temporary files left behind: $(ls -A tmp)"
