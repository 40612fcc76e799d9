#!/usr/bin/env bash
# LAUNCH runs the command built from the launch script, returns the
# application's exit status, logs its output and, when the run failed,
# prints its error output after everything else.
source "$(dirname "$0")/common.inc"
need_lxpack
mkdir tmp
export TMPDIR=$T/tmp

fake_jvm "$T/jvm" 'echo "JAVA_HOME=$JAVA_HOME"; for a in "$@"; do echo "arg[$a]"; done; echo "it failed" >&2; exit 3'
jvm_description app.jvm "$T/jvm"
cat > launch.txt <<'SCRIPT'
DESC: Test Application
DISPLAY_CONSOLE: 0
COMMAND: """@JVM_HOME@/@JVM_EXE@"" %CP%(""app.jar"") %SYSTEMPROP%(""lx.jvm.home"", """"""@JVM_HOME@"""""") Main run "
SCRIPT
printf 'INSTRUCTIONS:\n  LAUNCH "%s" 0\n/:\n' "$T/app.jvm" > instructions.txt
make_launcher setup.bin instructions=instructions.txt launch-script=launch.txt >/dev/null

export JAVA_HOME=/before
run out ./setup.bin -lx:log "$T/run.log" "x y"
expect_eq "exit status of the application" 3 "$status"
# The title is shown when the launch script loads; the error output comes last.
expect_eq "error output printed after the run" "Test Application
it failed" "$out"
grep -qxF "Executing launch script command: \"$T/jvm/bin/java\" -cp app.jar -Dlx.jvm.home=\"$T/jvm\" Main run  \"x y\" in working directory $T/." run.log \
  || { cat run.log; fail "command line not logged as expected"; }
for line in "Output from the launch script execution" "StdOut:" "JAVA_HOME=$T/jvm" "arg[-Dlx.jvm.home=$T/jvm]" "arg[x y]" "ErrOut:" "it failed"; do
  grep -qxF "$line" run.log || fail "log lacks: $line"
done
[ -z "$(ls -A "$T/tmp")" ] || fail "temporary files left behind: $(ls -A "$T/tmp")"

# With -lx:javaconsole the application writes to the terminal itself and
# nothing is captured or logged.
run out ./setup.bin -lx:log "$T/console.log" -lx:javaconsole
expect_eq "console mode status" 3 "$status"
expect_contains "application output on the console" "arg[run]" "$out"
if grep -q "Output from the launch script execution" console.log; then fail "console mode output was captured"; fi

# A successful run prints no error output.
fake_jvm "$T/jvm" 'echo "quiet" >&2; exit 0'
run out ./setup.bin
expect_eq "success status" 0 "$status"
expect_eq "nothing printed after a successful run" "Test Application" "$out"
