#!/usr/bin/env bash
# The INSTALL_JVM action of an input file runs the named installer in the
# named directory for a calling program and answers with the path of the
# completed description: a JVM that stays (JVM_TEMP 0) in its home.
source "$(dirname "$0")/common.inc"
source "$(dirname "$0")/bundled_jvm.inc"

make_launcher none.bin instructions=instructions.txt launch-script=launch.txt >/dev/null
mkdir dest
printf 'ACTION: INSTALL_JVM\nINSTALL_JVM_EXE: %s\nINSTALL_JVM_DEST: %s\n' "$T/installer.sh" "$T/dest" > action.tag
run out ./none.bin -lx:silent -lx:in action.tag
expect_eq "action status" 0 "$status"
# The installer writes to the same standard output; the answer is the last line.
expect_eq "installer output, then the answer" "installer ran in $T/dest
$T/dest/jvm" "$out"
grep -qx "JVM_HOME:  $T/dest" dest/jvm || fail "JVM_HOME not written: $(cat dest/jvm)"
grep -qx "JVM_FILE:  $T/dest/jvm" dest/jvm || fail "JVM_FILE not written"
grep -qx "JVM_TEMP:  0" dest/jvm || fail "JVM_TEMP not 0"
