#!/usr/bin/env bash
# An embedded launcher that cannot be started (here a file that is no
# program) is not handed to the shell as a script: the run fails with 255
# and the system's reason, the instructions after EXECUTE_LAUNCHER do not
# run, and the extracted directory is removed.
source "$(dirname "$0")/common.inc"
need_lxpack
mkdir tmp
export TMPDIR=$T/tmp

head -c 3000 /dev/urandom > garbage.bin
printf 'INSTRUCTIONS:\n  EXECUTE_LAUNCHER 1\n  LAUNCH "%s/none.jvm" 0\n/:\n' "$T" > outer.txt
make_launcher setup.bin instructions=outer.txt launcher=garbage.bin >/dev/null

run out ./setup.bin -lx:log "$T/run.log"
expect_eq "status" 255 "$status"
expect_contains "console" "could not be started: Exec format error" "$out"
grep -q '^ERROR: The embedded launcher .*/garbage.bin could not be started: Exec format error$' run.log ||
  { cat run.log; fail "the log does not say why"; }
grep -q 'none.jvm' run.log && fail "the instructions went on after EXECUTE_LAUNCHER"
[ -z "$(ls -A tmp)" ] || fail "left in TMPDIR: $(ls -A tmp)"
