#!/usr/bin/env bash
# A tag file that is a directory cannot be read: -lx:in naming a directory,
# or an input file whose INSTRUCTIONS, LAUNCHSCRIPT, JVM or VERIFY_JVM_FILE
# names one, ends the run at once with the system's reason and status 255,
# instead of reading for ever.
source "$(dirname "$0")/common.inc"
need_lxpack
mkdir dir
printf 'INSTRUCTIONS:\n  INITIALIZE_UI\n/:\n' > instr.txt
make_launcher setup.bin instructions=instr.txt 2>/dev/null

# finishes CMD...: runs CMD with a generous bound; a run that does not end
# within it fails the test.
finishes() {
  set +e
  out=$(timeout 60 "$@" 2>&1)
  status=$?
  set -e
  [ "$status" != 124 ] || fail "$* did not end within a minute"
}

finishes ./setup.bin -lx:in dir
expect_eq "-lx:in DIR: status" 255 "$status"
expect_contains "-lx:in DIR: reason" "Unable to read dir: Is a directory" "$out"

for key in INSTRUCTIONS LAUNCHSCRIPT JVM; do
  printf 'ACTION: RUN_INSTRUCTIONS\n%s: %s\n' "$key" "$T/dir" > input.tag
  finishes ./setup.bin -lx:in input.tag
  expect_eq "$key naming a directory: status" 255 "$status"
  expect_contains "$key naming a directory: reason" "Unable to read $T/dir: Is a directory" "$out"
done

printf 'ACTION: VERIFY_JVM\nVERIFY_JVM_FILE: %s\nVERIFY_JVM_HOME: /usr\n' "$T/dir" > input.tag
finishes ./setup.bin -lx:in input.tag
expect_eq "VERIFY_JVM_FILE naming a directory: status" 255 "$status"
expect_contains "VERIFY_JVM_FILE naming a directory: reason" "Unable to read $T/dir: Is a directory" "$out"
