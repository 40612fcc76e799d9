#!/usr/bin/env bash
# A launcher made by lxpack and unpacked with -lx:extract gives back every
# file byte for byte, with the execute bits on programs (the installer and
# an embedded launcher) and not on the others, and writes nothing else but
# its input.tag.
source "$(dirname "$0")/common.inc"
source "$(dirname "$0")/extracted_archive.inc"

for f in src/*; do
  cmp "$f" "out/$(basename "$f")" || fail "$(basename "$f") differs after extraction"
done
[ -x out/install.sh ] || fail "the JVM installer is not executable"
[ -x out/data200003.bin ] || fail "the embedded launcher is not executable"
[ ! -x out/data61440.bin ] || fail "an application archive became executable"
expect_eq "files written" "$( (ls src; echo input.tag) | sort)" "$(ls out | sort)"
