#!/usr/bin/env bash
# The demo launcher started with -lx:javahome runs the wizard with the JDK
# given, and the wizard's exit status becomes the launcher's.
source "$(dirname "$0")/common.inc"
demo=$LX_BUILD_DIR/demo/setup.bin
[ -x "$demo" ] || fail "the demo launcher was not built: $demo"
jdk=$(find_jdk)
mkdir tmp
export TMPDIR=$T/tmp

run out "$demo" -lx:javahome "$jdk" --exit=5 </dev/null
expect_eq "status of the wizard" 5 "$status"
expect_contains "the given JDK" "lx.jvm.home = $jdk" "$out"
[ -z "$(ls -A tmp)" ] || fail "temporary files left behind: $(ls -A tmp)"
