#!/usr/bin/env bash
# A launcher started with hang-up ignored (nohup) keeps it ignored, and so
# does the wizard: when the session ends, both go on, and the launcher ends
# with the wizard's status once the wizard is done.
source "$(dirname "$0")/common.inc"
need_lxpack
mkdir tmp
export TMPDIR=$T/tmp
set -m

fake_jvm "$T/jvm" "echo \$\$ > '$T/wizard.pid'
while [ ! -e '$T/go' ]; do sleep 0.1; done
exit 6"
jvm_description app.jvm "$T/jvm"
printf 'DESC: App\nCOMMAND: """@JVM_HOME@/@JVM_EXE@"" %%CP%%() Main"\n' > launch.txt
printf 'INSTRUCTIONS:\n  LAUNCH "%s" 0\n/:\n' "$T/app.jvm" > instructions.txt
echo "class path" > app.jar
make_launcher setup.bin instructions=instructions.txt launch-script=launch.txt classpath=app.jar >/dev/null

(trap '' HUP; exec ./setup.bin) >/dev/null 2>&1 &
launcher=$!
wait_for_file wizard.pid
wizard=$(cat wizard.pid)
kill -HUP -- "-$launcher"
sleep 1
kill -0 "$launcher" 2>/dev/null || fail "the launcher ended on an ignored hang-up"
kill -0 "$wizard" 2>/dev/null || fail "the wizard ended on an ignored hang-up"
touch go
finish "$launcher"
expect_eq "the wizard's status" 6 "$status"
[ -z "$(ls -A tmp)" ] || fail "left in TMPDIR: $(ls -A tmp)"
