#!/usr/bin/env bash
# ILAUNCH uses an embedded JVM description by its file id; a missing or
# wrong entry launches nothing and ends the run with -1.
source "$(dirname "$0")/common.inc"
need_lxpack

fake_jvm "$T/jvm" 'echo "launched $*"; exit 7'
jvm_description app.jvm "$T/jvm"
printf 'DESC: App\nCOMMAND: """@JVM_HOME@/@JVM_EXE@"" Main "\n' > launch.txt
for id in 9 2 5; do
  printf 'INSTRUCTIONS:\n  ILAUNCH %s 3\n/:\n' "$id" > instructions.txt
  make_launcher "id$id.bin" --id 1 instructions=instructions.txt --id 2 launch-script=launch.txt --id 5 jvm=app.jvm >/dev/null
done

run out ./id5.bin -lx:log "$T/ok.log"
expect_eq "ILAUNCH of the embedded description" 7 "$status"
grep -qx "launched Main" ok.log || fail "application output not logged"
expect_contains "status text shown for a launch with seconds" "Running App..." "$out"

for id in 9 2; do
  run out ./id$id.bin -lx:log "$T/bad$id.log"
  expect_eq "ILAUNCH $id status" 255 "$status"
  grep -qx "ERROR: Unable to launch the internal launch script with the internal JVM file. Either the launch script or the JVM file is missing from the launcher." "bad$id.log" \
    || fail "ILAUNCH $id: error not logged"
done
