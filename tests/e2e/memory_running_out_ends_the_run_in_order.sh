#!/usr/bin/env bash
# Memory that runs out in the middle of a run (here: a JVM description of
# 100 MB under a 60 MB address space limit) ends the run through the
# normal clean-up: a message on the console and in the log, status 255, no
# temporary file left, never an abort.
source "$(dirname "$0")/common.inc"
need_lxpack
[ "${LX_SANITIZED:-0}" = "1" ] && skip "the sanitizer runtime needs more address space than the limit this test sets"
mkdir tmp
export TMPDIR=$T/tmp

fake_jvm "$T/jvm" 'exit 0'
jvm_description small.jvm "$T/jvm"
{ cat small.jvm; printf 'BIG: '; head -c 100000000 /dev/zero | tr '\0' a; echo; } > big.jvm
printf 'DESC: App\nCOMMAND: """@JVM_HOME@/@JVM_EXE@"" %%CP%%() Main"\n' > launch.txt
# The first launch leaves a temporary directory (the class path archive) to
# clean up when the second runs out of memory.
printf 'INSTRUCTIONS:\n  LAUNCH "%s" 0\n  LAUNCH "%s" 0\n/:\n' "$T/small.jvm" "$T/big.jvm" > instructions.txt
echo app > app.jar
make_launcher setup.bin instructions=instructions.txt launch-script=launch.txt classpath=app.jar >/dev/null

run out bash -c 'ulimit -v 60000 && exec ./setup.bin -lx:log "$0"' "$T/run.log"
expect_eq "status" 255 "$status"
expect_contains "console" "The launcher ran out of memory and stopped." "$out"
grep -qx "ERROR: The launcher ran out of memory and stopped." run.log || { cat run.log; fail "not in the log"; }
[ -z "$(ls -A tmp)" ] || fail "left in TMPDIR: $(ls -A tmp)"
