#!/usr/bin/env bash
# When /bin/sh cannot run the wizard's command, its status is the
# launcher's (127 for a missing program, 126 for one that cannot be
# executed), not hidden behind another; the shell's message is shown after
# the run, or goes to the terminal itself in console mode.
source "$(dirname "$0")/common.inc"
need_lxpack
mkdir tmp
export TMPDIR=$T/tmp

printf 'DESC: App\nCOMMAND: """@JVM_HOME@/@JVM_EXE@"" %%CP%%() Main"\n' > launch.txt
echo "class path" > app.jar
mkdir -p missing/bin noexec/bin
printf '#!/bin/sh\necho ran\n' > noexec/bin/java
chmod 644 noexec/bin/java

# shell_case HOME OPTION STATUS TEXT
shell_case() {
  local home=$1 option=$2 want=$3 text=$4
  jvm_description app.jvm "$T/$home"
  printf 'INSTRUCTIONS:\n  LAUNCH "%s" 0\n/:\n' "$T/app.jvm" > instructions.txt
  make_launcher setup.bin instructions=instructions.txt launch-script=launch.txt classpath=app.jar >/dev/null
  run out ./setup.bin $option
  expect_eq "$home ${option:-captured}: status" "$want" "$status"
  if [ -n "$option" ]; then
    expect_contains "$home $option: the shell's message on the terminal" "$text" "$(cat "$T/.stderr")"
  else
    expect_contains "$home: the shell's message after the run" "$text" "$out"
  fi
  [ -z "$(ls -A tmp)" ] || fail "$home ${option:-captured}: left in TMPDIR: $(ls -A tmp)"
}

shell_case missing "" 127 "$T/missing/bin/java: not found"
shell_case missing -lx:javaconsole 127 "$T/missing/bin/java: not found"
shell_case noexec "" 126 "$T/noexec/bin/java: Permission denied"
