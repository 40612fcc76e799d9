#!/usr/bin/env bash
# lxpack extract with entry names copies just those entries out of a
# launcher, byte for byte, into the directory given with -C.
source "$(dirname "$0")/common.inc"
need_lxpack

head -c 70000 /dev/urandom > app.jar
printf '#!/bin/sh\n' > inst.sh
printf 'A: 1\n' > a.jvm
make_launcher setup.bin application=app.jar jvm-installer=inst.sh jvm=a.jvm

mkdir one
"$LXPACK" extract -C one setup.bin app.jar
expect_eq "one entry" "app.jar" "$(ls one)"
cmp app.jar one/app.jar || fail "app.jar differs"
