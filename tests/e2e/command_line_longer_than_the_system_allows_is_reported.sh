#!/usr/bin/env bash
# A command line longer than the system takes (two pass-on arguments of
# 70 KB each, more than one argument of the shell may hold) cannot be run:
# the launcher says so on the console and in the log and ends with 255,
# instead of a silent 127.
source "$(dirname "$0")/common.inc"
need_lxpack
mkdir tmp
export TMPDIR=$T/tmp

fake_jvm "$T/jvm" "touch '$T/wizard-ran'"
jvm_description app.jvm "$T/jvm"
printf 'DESC: App\nCOMMAND: """@JVM_HOME@/@JVM_EXE@"" Main"\n' > launch.txt
printf 'INSTRUCTIONS:\n  LAUNCH "%s" 0\n/:\n' "$T/app.jvm" > instructions.txt
make_launcher setup.bin instructions=instructions.txt launch-script=launch.txt >/dev/null

big=$(head -c 70000 /dev/zero | tr '\0' a)
run out ./setup.bin -lx:log "$T/run.log" "$big" "$big"
expect_eq "status" 255 "$status"
line=$(grep '^ERROR: The command to run is ' run.log) || { cat run.log; fail "the log does not say why"; }
expect_contains "log" "bytes long, more than this system allows for a command line. Nothing was run." "$line"
expect_contains "console" "${line#ERROR: }" "$out"
[ ! -e wizard-ran ] || fail "the wizard ran"
[ -z "$(ls -A tmp)" ] || fail "left in TMPDIR: $(ls -A tmp)"
