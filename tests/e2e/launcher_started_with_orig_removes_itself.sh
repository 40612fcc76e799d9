#!/usr/bin/env bash
# A launcher started with -lx:orig was extracted by another launcher: at its
# end it removes its own file and directory, and leaves the original
# launcher alone. Otherwise every setup would leave a copy in TMPDIR.
source "$(dirname "$0")/common.inc"
need_lxpack
script_launcher setup.bin "SET N1 = 1"

mkdir -p extracted
cp setup.bin extracted/inner.bin
run out extracted/inner.bin -lx:orig "$T/setup.bin"
expect_eq "embedded launcher status" 0 "$status"
[ ! -e extracted ] || fail "the embedded launcher's directory was left behind"
[ -e setup.bin ] || fail "the original launcher was removed"
