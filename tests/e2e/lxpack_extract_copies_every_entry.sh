#!/usr/bin/env bash
# lxpack extract without entry names copies every entry out of a launcher,
# byte for byte, the installer executable as the launcher would make it.
source "$(dirname "$0")/common.inc"
need_lxpack

head -c 70000 /dev/urandom > app.jar
printf '#!/bin/sh\n' > inst.sh
printf 'A: 1\n' > a.jvm
make_launcher setup.bin application=app.jar jvm-installer=inst.sh jvm=a.jvm

mkdir all
"$LXPACK" extract --directory=all setup.bin
expect_eq "all entries" "a.jvm app.jar inst.sh" "$(echo $(ls all))"
for f in app.jar inst.sh a.jvm; do cmp "$f" "all/$f" || fail "$f differs"; done
[ -x all/inst.sh ] || fail "the installer is not executable"
