#!/usr/bin/env bash
# Most wizards end by starting the program they installed. The launcher
# waits for the wizard and nothing else: it ends with the wizard's status
# as soon as the wizard has ended, whether its output is captured
# (DISPLAY_CONSOLE 0) or not, with or without a log, after a hand-over to
# an embedded launcher, and when a bundled JVM installer starts a helper.
# The program left running goes on, and its later writes do not kill it
# (a pipe nobody reads would, with SIGPIPE). Nothing of the launcher's is
# left in the temporary directory.
source "$(dirname "$0")/common.inc"
need_lxpack
mkdir tmp
export TMPDIR=$T/tmp

# The late writer writes after 2 s and leaves its mark after 5 s; the
# launcher must have ended long before the mark. $MARK is set per case.
late_writer='(sleep 2; echo late; echo late-error >&2; sleep 3; echo lived > "$MARK") &'
fake_jvm "$T/jvm" "$late_writer
echo early; echo oops >&2
exit 3"
jvm_description app.jvm "$T/jvm"
printf 'INSTRUCTIONS:\n  LAUNCH "%s" 0\n/:\n' "$T/app.jvm" > instructions.txt
for console in 0 1; do
  printf 'DESC: App\nDISPLAY_CONSOLE: %s\nCOMMAND: """@JVM_HOME@/@JVM_EXE@"" Main"\n' "$console" > launch$console.txt
  make_launcher console$console.bin instructions=instructions.txt launch-script=launch$console.txt >/dev/null
done

printf 'INSTRUCTIONS:\n  EXECUTE_LAUNCHER 1\n/:\n' > outer.txt
make_launcher outer.bin instructions=outer.txt launcher=console0.bin >/dev/null

cat > installer.sh <<SH
#!/bin/sh
$late_writer
mkdir -p bin
printf '#!/bin/sh\nexit 3\n' > bin/java
chmod +x bin/java
printf 'DESC: Bundled\nJVM_EXE: bin/java\n' > jvm
SH
chmod +x installer.sh
printf 'INSTRUCTIONS:\n  INSTALL_JVM 0\n  LAUNCH @S1@ 0\n/:\n' > install.txt
make_launcher install.bin instructions=install.txt launch-script=launch0.txt jvm-installer=installer.sh >/dev/null

cases=()
# late_case NAME LAUNCHER [OPTIONS]
late_case() {
  local name=$1; shift
  export MARK=$T/$name.mark
  "$@" >"$name.out" 2>&1 &
  local launcher=$!
  finish "$launcher"
  expect_eq "$name: the wizard's status" 3 "$status"
  [ ! -e "$MARK" ] || fail "$name: the launcher waited for the program the wizard left running"
  [ -z "$(ls -A tmp)" ] || fail "$name: left in TMPDIR: $(ls -A tmp)"
  cases+=("$name")
}

late_case captured ./console0.bin
expect_eq "captured: the title, then the wizard's error output after its failure" "App
oops" "$(cat captured.out)"
late_case captured-log ./console0.bin -lx:log "$T/captured.log"
late_case console ./console1.bin
late_case console-log ./console1.bin -lx:log "$T/console.log"
late_case embedded ./outer.bin
late_case installer ./install.bin -lx:log "$T/installer.log"

# Each late writer lived to leave its mark: its writes did not kill it.
for name in "${cases[@]}"; do
  wait_for_file "$T/$name.mark"
done
# What came late from a captured wizard's programs is in the log.
grep -qx late captured.log || { cat captured.log; fail "the late output is not in the log"; }
grep -qx late-error captured.log || { cat captured.log; fail "the late error output is not in the log"; }
grep -qx late console.out || fail "the program on the console lost its output"
