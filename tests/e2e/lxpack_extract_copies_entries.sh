#!/usr/bin/env bash
# lxpack extract copies the named entries, or all, out of a launcher.
source "$(dirname "$0")/common.inc"
need_lxpack

head -c 70000 /dev/urandom > app.jar
printf '#!/bin/sh\n' > inst.sh
printf 'A: 1\n' > a.jvm
make_launcher setup.bin application=app.jar jvm-installer=inst.sh jvm=a.jvm

mkdir one all
"$LXPACK" extract -C one setup.bin app.jar
expect_eq "one entry" "app.jar" "$(ls one)"
cmp app.jar one/app.jar || fail "app.jar differs"

"$LXPACK" extract --directory=all setup.bin
expect_eq "all entries" "a.jvm app.jar inst.sh" "$(echo $(ls all))"
for f in app.jar inst.sh a.jvm; do cmp "$f" "all/$f" || fail "$f differs"; done
[ -x all/inst.sh ] || fail "the installer is not executable"

status=0
"$LXPACK" extract -C one setup.bin nothing.jar 2> err.txt || status=$?
expect_eq "unknown entry" 1 "$status"
expect_eq "unknown entry message" "lxpack: setup.bin: no entry named 'nothing.jar'" "$(cat err.txt)"
