#!/usr/bin/env bash
# Hang-up and terminate reach the wizard and every program of its session,
# but not a program it detached with setsid before the signal came: a
# daemon it started keeps running. The launcher does not wait for the
# daemon either, even though the daemon still holds the capture pipes.
source "$(dirname "$0")/common.inc"
need_lxpack
mkdir tmp
export TMPDIR=$T/tmp
set -m

fake_jvm "$T/jvm" "setsid sh -c 'echo \$\$ > \"$T/daemon.pid\"; while :; do sleep 1; echo alive; done' &
echo \$\$ > '$T/wizard.pid'
while :; do sleep 1; done"
jvm_description app.jvm "$T/jvm"
printf 'DESC: App\nCOMMAND: """@JVM_HOME@/@JVM_EXE@"""\n' > launch.txt
printf 'INSTRUCTIONS:\n  LAUNCH "%s" 0\n/:\n' "$T/app.jvm" > instructions.txt
make_launcher setup.bin instructions=instructions.txt launch-script=launch.txt >/dev/null

for signal in HUP TERM; do
  rm -f wizard.pid daemon.pid
  ./setup.bin -lx:silent >/dev/null 2>&1 &
  launcher=$!
  wait_for_file wizard.pid
  wait_for_file daemon.pid
  wizard=$(cat wizard.pid)
  daemon=$(cat daemon.pid)
  kill -"$signal" "$launcher"
  finish "$launcher"
  expect_eq "$signal: status" "$((128 + $(kill -l "$signal")))" "$status"
  process_ended "$wizard" || fail "$signal: the wizard still runs"
  sleep 1.5  # the daemon writes to its output once a second
  # Not gone, and not a zombie that nobody collected either.
  [ -e "/proc/$daemon" ] && ! grep -q ') Z ' "/proc/$daemon/stat" || fail "$signal: the detached daemon was ended too"
  kill "$daemon"
  [ -z "$(ls -A tmp)" ] || fail "$signal: left in TMPDIR: $(ls -A tmp)"
done
