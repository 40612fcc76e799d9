#!/usr/bin/env bash
# What the launcher extracts for the wizard lies in a directory that only
# its user can enter (0700), even under umask 000: another user can neither
# read nor replace it.
source "$(dirname "$0")/common.inc"
need_lxpack
mkdir tmp
chmod 1777 tmp
export TMPDIR=$T/tmp

fake_jvm "$T/jvm" 'stat -c "%a" "$(dirname "$2")"'
jvm_description app.jvm "$T/jvm"
printf 'DESC: App\nDISPLAY_CONSOLE: 1\nCOMMAND: """@JVM_HOME@/@JVM_EXE@"" %%CP%%() "\n' > launch.txt
printf 'INSTRUCTIONS:\n  LAUNCH "%s" 0\n/:\n' "$T/app.jvm" > instructions.txt
echo app > app.jar
make_launcher setup.bin instructions=instructions.txt launch-script=launch.txt classpath=app.jar >/dev/null

run out bash -c 'umask 000 && exec ./setup.bin -lx:silent'
expect_eq "status" 0 "$status"
expect_eq "mode of the extraction directory" 700 "$out"
