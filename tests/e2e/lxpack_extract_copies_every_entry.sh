#!/usr/bin/env bash
# lxpack extract without entry names copies every entry out of a launcher,
# byte for byte, the installer executable as the launcher would make it.
source "$(dirname "$0")/common.inc"
source "$(dirname "$0")/lxpack_extract_fixture.inc"

mkdir all
"$LXPACK" extract --directory=all setup.bin
expect_eq "all entries" "a.jvm app.jar inst.sh" "$(echo $(ls all))"
for f in app.jar inst.sh a.jvm; do cmp "$f" "all/$f" || fail "$f differs"; done
[ -x all/inst.sh ] || fail "the installer is not executable"
