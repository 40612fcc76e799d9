#!/usr/bin/env bash
# Candidate JVMs that crash, print garbage or die before the required
# properties are not taken: the search verifies each, goes on to the next
# candidate and launches the first sound one. A broken JVM on the user's
# machine must not stop the setup when a good one is there too.
source "$(dirname "$0")/common.inc"
source "$(dirname "$0")/broken_candidates.inc"

# The user's Java home crashes; the hints hold garbage, an early death and,
# last, the sound one.
LX_TEST_HOMES="$T/garbage:$T/dies:$T/good" run out ./setup.bin -lx:javahome "$T/crash" -lx:log "$T/found.log"
skip_without_find_jvm "$out"
expect_eq "the sound candidate's wizard ran: status" 3 "$status"
expect_eq "the sound candidate's wizard ran: output" "App
wizard from $T/good" "$out"
for home in crash garbage dies good; do
  grep -qxF "Verifying JVM at $T/$home/bin/java" found.log || fail "$home was not verified: $(cat found.log)"
done
grep -qxF "Matching JVM home is $T/good" found.log || fail "the match is not the sound candidate: $(cat found.log)"
expect_no_leftovers
