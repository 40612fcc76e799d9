#!/usr/bin/env bash
# The packaging guide's marked examples are run, so that the guide cannot
# drift from the programs: the files it shows (instructions, launch
# scripts, JVM descriptions, programs) are written out, and its command
# lines run with the built lxpack and launcher against a JDK of this
# machine, their status and output checked against what the guide shows.
# The marking is described at the top of docs/packaging.md.
source "$(dirname "$0")/common.inc"
need_lxpack
find_jdk >/dev/null
[ -x "$LX_BUILD_DIR/demo/setup.bin" ] || fail "the demo launcher was not built: $LX_BUILD_DIR/demo/setup.bin"
python3 "$(dirname "$0")/guide_examples.py" "$LX_SOURCE_DIR/docs/packaging.md" "$T" "$LX_BUILD_DIR" "$LX_SOURCE_DIR"
