#!/usr/bin/env bash
# With no child running, an interrupt, terminate or hang-up is the
# launcher's own: it ends at the next instruction line (here a script that
# loops for ever), removes its temporary files and ends with 128 + the
# signal number.
source "$(dirname "$0")/common.inc"
need_lxpack
mkdir tmp
export TMPDIR=$T/tmp
# Job control, or bash would start the launcher with interrupts ignored.
set -m

# The installer leaves its temporary directory behind for the launcher to
# remove, and notes its pid; the script then loops.
printf '#!/bin/sh\necho $$ > "%s/installer.pid"\n' "$T" > installer.sh
printf 'INSTRUCTIONS:\n  INSTALL_JVM 1\n  :AGAIN\n  GOTO AGAIN\n/:\n' > instructions.txt
make_launcher setup.bin instructions=instructions.txt jvm-installer=installer.sh >/dev/null

for signal in INT TERM HUP; do
  rm -f installer.pid
  ./setup.bin -lx:silent &
  launcher=$!
  wait_for_file installer.pid
  installer=$(cat installer.pid)
  # Until the launcher has collected the installer, an interrupt would be
  # the installer's to decide.
  for i in $(seq 600); do [ -e "/proc/$installer" ] || break; sleep 0.1; done
  [ -n "$(ls -A tmp)" ] || fail "$signal: no temporary directory while the script runs"
  kill -"$signal" "$launcher"
  finish "$launcher"
  expect_eq "$signal: status" "$((128 + $(kill -l "$signal")))" "$status"
  [ -z "$(ls -A tmp)" ] || fail "$signal: left in TMPDIR: $(ls -A tmp)"
done
