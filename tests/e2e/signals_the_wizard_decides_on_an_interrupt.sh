#!/usr/bin/env bash
# The terminal's interrupt is the wizard's to decide: a wizard that catches
# it finds its files still in place and ends on its own terms, and the
# launcher, which waited for it, cleans up and ends with the wizard's
# status rather than as an interrupted program.
source "$(dirname "$0")/common.inc"
need_lxpack
mkdir tmp
export TMPDIR=$T/tmp
set -m

# "$2" is the extracted class path archive (the command is
# java -cp ARCHIVE Main). Short sleeps: each ends at the interrupt and the
# shell runs the trap.
fake_jvm "$T/jvm" "trap 'if [ -e \"\$2\" ]; then echo kept > \"$T/decided\"; fi; exit 5' INT
echo \$\$ > '$T/wizard.pid'
while :; do sleep 1; done"
jvm_description app.jvm "$T/jvm"
# exec: the wizard's own status reaches the launcher, whatever /bin/sh does
# with an interrupt it sees itself.
printf 'DESC: App\nCOMMAND: "exec ""@JVM_HOME@/@JVM_EXE@"" %%CP%%() Main"\n' > launch.txt
printf 'INSTRUCTIONS:\n  LAUNCH "%s" 0\n/:\n' "$T/app.jvm" > instructions.txt
echo "class path" > app.jar
make_launcher setup.bin instructions=instructions.txt launch-script=launch.txt classpath=app.jar >/dev/null

for option in "" -lx:javaconsole; do
  rm -f wizard.pid decided
  ./setup.bin $option >/dev/null 2>&1 &
  launcher=$!
  wait_for_file wizard.pid
  kill -INT -- "-$launcher"
  finish "$launcher"
  expect_eq "${option:-captured}: the wizard's status" 5 "$status"
  expect_eq "${option:-captured}: the class path was still there" kept "$(cat decided 2>/dev/null)"
  [ -z "$(ls -A tmp)" ] || fail "${option:-captured}: left in TMPDIR: $(ls -A tmp)"
done
