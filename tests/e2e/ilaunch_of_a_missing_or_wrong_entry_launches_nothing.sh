#!/usr/bin/env bash
# ILAUNCH with an id that names no entry, or an entry that is not a JVM
# description, launches nothing and ends the run with -1 (status 255),
# with the reason in the log.
source "$(dirname "$0")/common.inc"
need_lxpack

fake_jvm "$T/jvm" "touch '$T/launched'; exit 7"
jvm_description app.jvm "$T/jvm"
printf 'DESC: App\nCOMMAND: """@JVM_HOME@/@JVM_EXE@"" Main "\n' > launch.txt
for id in 9 2; do
  printf 'INSTRUCTIONS:\n  ILAUNCH %s 3\n/:\n' "$id" > instructions.txt
  make_launcher "id$id.bin" --id 1 instructions=instructions.txt --id 2 launch-script=launch.txt --id 5 jvm=app.jvm >/dev/null
  run out ./id$id.bin -lx:log "$T/bad$id.log"
  expect_eq "ILAUNCH $id status" 255 "$status"
  grep -qx "ERROR: Unable to launch the internal launch script with the internal JVM file. Either the launch script or the JVM file is missing from the launcher." "bad$id.log" \
    || fail "ILAUNCH $id: error not logged"
  [ ! -e launched ] || fail "ILAUNCH $id launched the application"
done
