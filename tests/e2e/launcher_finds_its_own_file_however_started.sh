#!/usr/bin/env bash
# The launcher reads its archive from its own file, which it finds however
# it was started: by name through PATH or by a relative path, from another
# directory. A launcher without its archive would end with status 255.
source "$(dirname "$0")/common.inc"
need_lxpack
script_launcher setup.bin "SET N1 = 1"

mkdir bin elsewhere
cp setup.bin bin/
(cd elsewhere && PATH="$T/bin:$PATH" setup.bin) || fail "started through PATH: status $?"
(cd elsewhere && ../setup.bin) || fail "started by a relative path: status $?"
