#!/usr/bin/env bash
# The SEARCH action that finds no matching JVM answers 0 and ends with
# status 0: not finding one is an answer, not a failure.
source "$(dirname "$0")/common.inc"
source "$(dirname "$0")/discovery.inc"
unmatched_description nomatch.jvm

printf 'ACTION: SEARCH\nJVM: %s\n' "$T/nomatch.jvm" > search0.tag
run out ./setup.bin -lx:in search0.tag
expect_eq "SEARCH without a match" "0" "$out"
expect_eq "SEARCH without a match status" 0 "$status"
[ -z "$(ls -A tmp)" ] || fail "temporary files left behind: $(ls -A tmp)"
