#!/usr/bin/env bash
# Two launchers that verify different JVMs at the same moment both succeed,
# and the store keeps both answers: a later search of either starts nothing.
source "$(dirname "$0")/common.inc"
source "$(dirname "$0")/discovery.inc"
source "$(dirname "$0")/jvm_store.inc"
for name in first second; do
  counting_home "$name"
  search_tag "$name"
done

for attempt in 1 2 3; do
  ./setup.bin -lx:silent -lx:in first.tag > first.out 2>&1 &
  a=$!
  ./setup.bin -lx:silent -lx:in second.tag > second.out 2>&1 &
  b=$!
  finish "$a"; expect_eq "first launcher's status" 0 "$status"
  finish "$b"; expect_eq "second launcher's status" 0 "$status"
  for name in first second; do
    expect_eq "$name answer" 1 "$(head -n1 "$name.out")"
    expect_eq "$name starts" 1 "$(starts "$name")"
  done
  for name in first second; do
    run out ./setup.bin -lx:silent -lx:in "$name.tag"
    expect_eq "$name answer from the store" 1 "$(head -n1 <<< "$out")"
    expect_eq "$name starts after the store answered" 1 "$(starts "$name")"
  done
  rm -rf "$XDG_CACHE_HOME" ./*.starts
done
