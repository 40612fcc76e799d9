#!/usr/bin/env bash
# A temporary directory (TMPDIR or -lx:tempdir) whose name holds a character
# that a command could not carry safely ($(...), a back quote, a double
# quote, a backslash, a launch script marker) is refused with a message
# before anything is extracted or run: the run ends with 255 and nothing
# that the name spells is run.
source "$(dirname "$0")/common.inc"
need_lxpack

fake_jvm "$T/jvm" "touch '$T/wizard-ran'"
jvm_description app.jvm "$T/jvm"
printf 'DESC: App\nCOMMAND: """@JVM_HOME@/@JVM_EXE@"" %%CP%%() Main"\n' > launch.txt
printf 'INSTRUCTIONS:\n  LAUNCH "%s" 0\n/:\n' "$T/app.jvm" > instructions.txt
echo app > app.jar
make_launcher setup.bin instructions=instructions.txt launch-script=launch.txt classpath=app.jar >/dev/null
printf 'INSTRUCTIONS:\n  EXECUTE_LAUNCHER 1\n/:\n' > outer.txt
make_launcher outer.bin instructions=outer.txt launcher=setup.bin >/dev/null

# refused HOW NAME PROGRAM: HOW is TMPDIR or tempdir.
refused() {
  local how=$1 name=$2 program=$3 dir="$T/$2"
  mkdir -p "$dir"
  rm -f wizard-ran
  if [ "$how" = TMPDIR ]; then
    run out env TMPDIR="$dir" "./$program"
  else
    run out env -u TMPDIR "./$program" -lx:tempdir "$dir"
  fi
  expect_eq "status with $how $name" 255 "$status"
  expect_contains "message for $how $name" "The temporary directory $dir holds a character that the launcher cannot pass on safely in a command" "$out"
  [ ! -e wizard-ran ] || fail "the wizard ran with $how $name"
  [ -z "$(ls -A "$dir")" ] || fail "something was made in $dir: $(ls -A "$dir")"
  found=$(find "$T" -name 'PWNED*')
  [ -z "$found" ] || fail "a command in the name $name was run: $found"
}

refused TMPDIR 'x$(touch PWNED)' setup.bin
refused TMPDIR 'back`touch PWNED2`quote' setup.bin
refused tempdir 'y$(touch PWNED3)' setup.bin
refused TMPDIR 'dq"touch PWNED4' outer.bin
refused TMPDIR 'percent%TEMP_DIR%()' setup.bin
