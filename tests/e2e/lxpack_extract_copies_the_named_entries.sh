#!/usr/bin/env bash
# lxpack extract with entry names copies just those entries out of a
# launcher, byte for byte, into the directory given with -C.
source "$(dirname "$0")/common.inc"
source "$(dirname "$0")/lxpack_extract_fixture.inc"

mkdir one
"$LXPACK" extract -C one setup.bin app.jar
expect_eq "one entry" "app.jar" "$(ls one)"
cmp app.jar one/app.jar || fail "app.jar differs"
