#!/usr/bin/env bash
# A command-line program that fails at once, as a compiler or a linter does
# on a wrong input, run again with its JVM's answer remembered: java starts
# once, not a second time to check the answer, the status and the error
# output are the program's, and the answer stays remembered. When the JVM
# itself cannot start (a library the store's key does not name was moved
# away), the answer is still checked and the run goes on with a JVM that
# works. Run with a real JDK whose java notes each start.
source "$(dirname "$0")/common.inc"
source "$(dirname "$0")/jar_launcher.inc"
jdk=$(real_jdk 17)
[ -f "$jdk/lib/server/libjvm.so" ] && [ -f "$jdk/lib/libjimage.so" ] ||
  fail "$jdk has no lib/server/libjvm.so and lib/libjimage.so to copy"

# $T/counted: a home of its own (its java program and JVM library are
# copies, the rest are links to the JDK's files) whose bin/java notes each
# start in $T/starts and runs the copy.
cp -as "$jdk" "$T/counted"
rm "$T/counted/bin/java" "$T/counted/lib/server/libjvm.so"
cp "$jdk/bin/java" "$T/counted/bin/java.real"
cp "$jdk/lib/server/libjvm.so" "$T/counted/lib/server/libjvm.so"
printf '#!/bin/sh\necho started >> "%s"\nexec "%s" "$@"\n' "$T/starts" "$T/counted/bin/java.real" > "$T/counted/bin/java"
chmod 0755 "$T/counted/bin/java"
starts() { if [ -f "$T/starts" ]; then wc -l < "$T/starts"; else echo 0; fi; }

cat > Lint.java <<'JAVA'
public class Lint {
  public static void main(String[] args) {
    System.err.println("Lint: " + args[0] + ": 1 problem");
    System.exit(1);
  }
}
JAVA
java_jar lint.jar Lint Lint.java
"$LXPACK" create --main-jar lint.jar --java 17+ --cli -o lint.bin || fail "lxpack create --main-jar --cli ended with $?"
export JAVA_HOME=$T/counted

# lint ROUND: runs lint.bin, which must end with the program's status and
# error line; its log is in $T/run.log.
lint() {
  rm -f "$T/run.log"
  set +e
  ./lint.bin -lx:log "$T/run.log" input.txt > out.txt 2> err.txt
  status=$?
  set -e
  expect_eq "status, $1 (error output: $(cat err.txt))" 1 "$status"
  grep -qxF "Lint: input.txt: 1 problem" err.txt || fail "the program's error line is missing, $1: $(cat err.txt)"
}
took_from_store() { grep -q "^Took the answer for $T/counted/bin/java from the store" "$T/run.log"; }

lint "first run"
expect_eq "java starts of the first run (verification and program)" 2 "$(starts)"
! took_from_store || fail "the first run found an answer in an empty store"

for round in second third; do
  before=$(starts)
  lint "$round run"
  took_from_store || fail "the $round run did not take the answer from the store: $(cat "$T/run.log")"
  expect_eq "java starts of the $round run" 1 "$(($(starts) - before))"
  grep -q "the failure is the program's own and the stored answer stands" "$T/run.log" ||
    fail "the log does not say why the answer stands: $(cat "$T/run.log")"
  ! grep -q "verified again" "$T/run.log" || fail "the answer was checked again: $(cat "$T/run.log")"
done

mv "$T/counted/lib/libjimage.so" "$T/libjimage.so.away"
lint "run with a JVM that cannot start"
took_from_store || fail "the broken copy's answer was not taken from the store: $(cat "$T/run.log")"
grep -q "^WARNING: The launch with $T/counted/bin/java failed at once; its answer came from the store" "$T/run.log" ||
  fail "the answer of the JVM that cannot start was not checked: $(cat "$T/run.log")"
grep -q "^Matching JVM home is /usr/lib/jvm/" "$T/run.log" ||
  fail "the run did not go on with a JVM of the machine: $(cat "$T/run.log")"
expect_clean_tmp "the runs"
