#!/usr/bin/env bash
# LAUNCH logs the command it runs, with the pass-on arguments and the
# working directory, and the application's standard and error output, which
# saw JAVA_HOME set to the JVM used: what a support engineer needs to
# repeat the run by hand.
source "$(dirname "$0")/common.inc"
source "$(dirname "$0")/launched_application.inc"

run out ./setup.bin -lx:log "$T/run.log" "x y"
expect_eq "exit status of the application" 3 "$status"
grep -qxF "Executing launch script command: \"$T/jvm/bin/java\" -cp app.jar -Dlx.jvm.home=\"$T/jvm\" Main run  \"x y\" in working directory $T/." run.log \
  || { cat run.log; fail "command line not logged as expected"; }
for line in "Output from the launch script execution" "StdOut:" "JAVA_HOME=$T/jvm" "arg[-Dlx.jvm.home=$T/jvm]" "arg[x y]" "ErrOut:" "it failed"; do
  grep -qxF "$line" run.log || fail "log lacks: $line"
done
