#!/usr/bin/env bash
# With only candidate JVMs that crash, print garbage or die before the
# required properties, the search finds nothing, says so, launches
# nothing, ends with the status of a run without a JVM (69) and logs why
# each was refused; nothing is left behind.
source "$(dirname "$0")/common.inc"
source "$(dirname "$0")/broken_candidates.inc"

LX_TEST_HOMES="$T/garbage:$T/dies" run out ./setup.bin -lx:javahome "$T/crash" -lx:log "$T/none.log"
skip_without_find_jvm "$out"
expect_eq "nothing found: status" 69 "$status"
expect_eq "nothing found: message" "App
A suitable JVM could not be found. Please run the installer again using the option -lx:javahome <JAVA HOME DIR>" "$out"
if grep -q "Matching JVM home" none.log; then fail "a broken candidate was taken: $(cat none.log)"; fi
for home in crash garbage dies; do
  grep -qxF "Verifying JVM at $T/$home/bin/java" none.log || fail "$home was not verified: $(cat none.log)"
done
# Why each was refused: no output at all, no magic line, no properties.
for reason in "ERROR: Invalid magic value: " "ERROR: Invalid magic value: not a verification line" \
  "WARNING: The verification output ended before the value of java.vendor."; do
  grep -aqxF "$reason" none.log || fail "not logged: $reason"
done
expect_no_leftovers
