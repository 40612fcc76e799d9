#!/usr/bin/env bash
# ILAUNCH launches with the embedded launch script and the embedded JVM
# description it names by file id, shows the status text of a launch that
# has seconds to wait, and ends with the application's status.
source "$(dirname "$0")/common.inc"
need_lxpack

fake_jvm "$T/jvm" 'echo "launched $*"; exit 7'
jvm_description app.jvm "$T/jvm"
printf 'DESC: App\nCOMMAND: """@JVM_HOME@/@JVM_EXE@"" Main "\n' > launch.txt
printf 'INSTRUCTIONS:\n  ILAUNCH 5 3\n/:\n' > instructions.txt
make_launcher id5.bin --id 1 instructions=instructions.txt --id 2 launch-script=launch.txt --id 5 jvm=app.jvm >/dev/null

run out ./id5.bin -lx:log "$T/ok.log"
expect_eq "ILAUNCH of the embedded description" 7 "$status"
grep -qx "launched Main" ok.log || fail "application output not logged"
expect_contains "status text shown for a launch with seconds" "Running App..." "$out"
