#!/usr/bin/env bash
# The store of verified JVMs keys an answer on what the JVM loads to run,
# not only on its java program: a remembered JDK whose JVM library was moved
# away is verified again, fails, and the wizard runs with a JDK that works.
source "$(dirname "$0")/common.inc"
source "$(dirname "$0")/jdk_copy.inc"

run_wizard "first run"
expect_contains "the copy runs the wizard" "lx.jvm.home = $T/copy" "$out"
run_wizard "second run"
took_from_store "$T/copy" || fail "the second run did not take the answer from the store: $(cat run.log)"

mv "$T/copy/lib/server/libjvm.so" "$T/libjvm.so.away"
run_wizard "run without the JVM library"
! took_from_store "$T/copy" || fail "the answer for the broken copy was taken from the store"
expect_contains "the machine's JDK runs the wizard" "lx.jvm.home = $jdk" "$out"
