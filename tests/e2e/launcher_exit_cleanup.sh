#!/usr/bin/env bash
# A launcher started with -lx:orig was extracted by another launcher: at its
# end it removes its own file and directory. Without the option nothing of
# the launcher is touched. The program finds its own file however it was
# started.
source "$(dirname "$0")/common.inc"
need_lxpack
script_launcher setup.bin "SET N1 = 1"

mkdir -p extracted
cp setup.bin extracted/inner.bin
run out extracted/inner.bin -lx:orig "$T/setup.bin"
expect_eq "embedded launcher status" 0 "$status"
[ ! -e extracted ] || fail "the embedded launcher's directory was left behind"
[ -e setup.bin ] || fail "the original launcher was removed"

run out ./setup.bin
expect_eq "plain run status" 0 "$status"
[ -e setup.bin ] || fail "a plain run removed its own file"

# Started by name through PATH, from another directory, it still finds its
# archive (a launcher without its archive would end with status 255).
mkdir bin elsewhere
cp setup.bin bin/
(cd elsewhere && PATH="$T/bin:$PATH" setup.bin) || fail "started through PATH: status $?"
(cd elsewhere && ../setup.bin) || fail "started by a relative path: status $?"
