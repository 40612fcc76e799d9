#!/usr/bin/env bash
# A wizard that ignores the terminate signal passed on to it does not keep
# the launcher for ever: after a grace of ten seconds the launcher kills
# what is left of the command, removes its files and ends with 143.
source "$(dirname "$0")/common.inc"
need_lxpack
mkdir tmp
export TMPDIR=$T/tmp
set -m

fake_jvm "$T/jvm" "trap '' TERM HUP
echo \$\$ > '$T/wizard.pid'
while :; do sleep 1; done"
jvm_description app.jvm "$T/jvm"
printf 'DESC: App\nCOMMAND: """@JVM_HOME@/@JVM_EXE@"" %%CP%%() Main"\n' > launch.txt
printf 'INSTRUCTIONS:\n  LAUNCH "%s" 0\n/:\n' "$T/app.jvm" > instructions.txt
echo app > app.jar
make_launcher setup.bin instructions=instructions.txt launch-script=launch.txt classpath=app.jar >/dev/null

./setup.bin >/dev/null 2>&1 &
launcher=$!
wait_for_file wizard.pid
wizard=$(cat wizard.pid)
kill -TERM "$launcher"
sleep 3
kill -0 "$launcher" 2>/dev/null || fail "the launcher ended while the wizard still ran"
[ -n "$(ls -A tmp)" ] || fail "the files were removed while the wizard still ran"
finish "$launcher"
expect_eq "status" 143 "$status"
process_ended "$wizard" || fail "the wizard still runs after the launcher ended"
[ -z "$(ls -A tmp)" ] || fail "left in TMPDIR: $(ls -A tmp)"
