#!/usr/bin/env bash
# lxpack extract asked for an entry the launcher does not carry says so and
# ends with status 1, writing nothing.
source "$(dirname "$0")/common.inc"
need_lxpack

printf 'A: 1\n' > a.jvm
make_launcher setup.bin jvm=a.jvm

mkdir one
status=0
"$LXPACK" extract -C one setup.bin nothing.jar 2> err.txt || status=$?
expect_eq "unknown entry" 1 "$status"
expect_eq "unknown entry message" "lxpack: setup.bin: no entry named 'nothing.jar'" "$(cat err.txt)"
expect_eq "nothing written" "" "$(ls one)"
