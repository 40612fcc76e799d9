#!/usr/bin/env bash
# A JVM can break in a way the store's key does not see (here a library it
# loads while starting, which the key does not name). The launch with the
# remembered answer then fails at once: the launcher forgets the answer,
# verifies the JVM for real, and launches the wizard with one that works.
# A wizard that fails on its own with a sound JVM keeps its status and is
# not run again.
source "$(dirname "$0")/common.inc"
source "$(dirname "$0")/jdk_copy.inc"

run_wizard "first run"
expect_contains "the copy runs the wizard" "lx.jvm.home = $T/copy" "$out"

# A remembered JVM that is sound: the wizard's own failure stands.
run out ./setup.bin -lx:log "$T/run.log" --exit=7 </dev/null
expect_eq "the wizard's own status" 7 "$status"
expect_eq "the wizard ran once" 1 "$(grep -c 'Welcome to the demo setup wizard.' <<< "$out")"

mv "$T/copy/lib/libjimage.so" "$T/libjimage.so.away"
run_wizard "run with a broken copy"
took_from_store "$T/copy" || fail "the answer was not taken from the store: $(cat run.log)"
grep -q "^WARNING: The launch with $T/copy/bin/java failed at once; its answer came from the store" run.log ||
  fail "the log does not say why the answer was forgotten: $(cat run.log)"
expect_contains "the machine's JDK runs the wizard" "lx.jvm.home = $jdk" "$out"

run_wizard "run after the answer was forgotten"
! took_from_store "$T/copy" || fail "the forgotten answer was taken from the store again"
expect_contains "the machine's JDK runs the wizard again" "lx.jvm.home = $jdk" "$out"
