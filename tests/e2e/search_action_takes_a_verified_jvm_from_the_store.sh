#!/usr/bin/env bash
# A second search for the same JVM starts no JVM: the answer of the first
# verification is taken from the store in the user's cache, and the log
# says so. LX_JVM_CACHE=0 verifies afresh.
source "$(dirname "$0")/common.inc"
source "$(dirname "$0")/discovery.inc"
source "$(dirname "$0")/jvm_store.inc"
counting_home wrapped
search_tag wrapped

for round in 1 2; do
  run out ./setup.bin -lx:silent -lx:in wrapped.tag
  expect_eq "SEARCH status, round $round" 0 "$status"
  expect_eq "SEARCH answer, round $round" 1 "$(head -n1 <<< "$out")"
  rm -f "$(sed -n 3p <<< "$out")"
  expect_eq "java starts after round $round" 1 "$(starts wrapped)"
done
grep -qxF "Took the answer for $T/wrapped/bin/java from the store of verified JVMs $XDG_CACHE_HOME/lxlauncher/verified-jvms instead of starting it" wrapped.log ||
  fail "the log does not say where the answer came from: $(cat wrapped.log)"
expect_eq "store mode" 600 "$(stat -c %a "$XDG_CACHE_HOME/lxlauncher/verified-jvms")"

LX_JVM_CACHE=0 run out ./setup.bin -lx:silent -lx:in wrapped.tag
expect_eq "SEARCH answer without the store" 1 "$(head -n1 <<< "$out")"
expect_eq "java starts without the store" 2 "$(starts wrapped)"
