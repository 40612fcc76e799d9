#!/usr/bin/env bash
# A command-line program that fails at once (status 1, one error line, as a
# compiler or a linter on a wrong input), packed with `lxpack create
# --main-jar --cli` and run with its JVM's answer remembered, against a
# bare `java -jar` of the same jar with the same JDK, timed alternately in
# the same run, best of each. Target: ratio at most 1.25 (one JVM start:
# the launcher does not start the JVM again to check the answer).
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
src=${LX_SOURCE_DIR:-$(dirname "$here")}
build=${LX_BUILD_DIR:-$src/build}
limit=1.25
runs=${LX_BENCH_RUNS:-15}
[ -x "$build/lxpack" ] && [ -x "$build/lxlauncher" ] || { echo "failing_run: no release build in $build (run bench/run)"; exit 1; }

work=$(mktemp -d "${TMPDIR:-/tmp}/lxbench.XXXXXX")
trap 'rm -rf "$work"' EXIT
export XDG_CACHE_HOME=$work/cache
unset JAVA_HOME JDK_HOME LX_JVM_CACHE
cd "$work"

javac=
for d in /usr/lib/jvm/*/; do
  if [ -x "$d/bin/javac" ] && [ -x "$d/bin/jar" ]; then javac=${d%/}/bin/javac; break; fi
done
[ -n "$javac" ] || { echo "failing_run: no JDK with javac and jar under /usr/lib/jvm"; exit 1; }
mkdir classes
cat > Lint.java <<'JAVA'
public class Lint {
  public static void main(String[] args) {
    System.err.println("Lint: " + (args.length > 0 ? args[0] : "-") + ": 1 problem");
    System.exit(1);
  }
}
JAVA
"$javac" --release 11 -d classes Lint.java
"$(dirname "$javac")/jar" --create --file lint.jar --main-class Lint -C classes .
"$build/lxpack" create --main-jar lint.jar --java 11+ --cli -o lint.bin > /dev/null

# The first run verifies and fills the store; its log tells which JDK the
# launcher takes, so that the reference runs the same one.
status=0
./lint.bin -lx:log "$work/first.log" input.txt < /dev/null > /dev/null 2>&1 || status=$?
[ "$status" = 1 ] || { echo "failing_run: the launcher ended with $status, not the program's 1"; exit 1; }
jdk=$(sed -n 's/^Matching JVM home is //p' "$work/first.log" | head -n1)
[ -n "$jdk" ] || { echo "failing_run: the launcher found no JDK on this machine"; exit 1; }
./lint.bin -lx:log "$work/second.log" input.txt < /dev/null > /dev/null 2>&1 || true
grep -q "from the store of verified JVMs" "$work/second.log" ||
  { echo "failing_run: the second run did not use the store"; exit 1; }
grep -q "verified again" "$work/second.log" &&
  echo "failing_run: note: the second run checked the stored answer by starting the JVM again"

now() { date +%s%N; }
best_java=
best_launcher=
for ((run = 1; run <= runs; run++)); do
  start=$(now); "$jdk/bin/java" -jar lint.jar input.txt < /dev/null > /dev/null 2>&1 || true; end=$(now)
  t=$((end - start)); if [ -z "$best_java" ] || [ "$t" -lt "$best_java" ]; then best_java=$t; fi
  start=$(now); ./lint.bin input.txt < /dev/null > /dev/null 2>&1 || true; end=$(now)
  t=$((end - start)); if [ -z "$best_launcher" ] || [ "$t" -lt "$best_launcher" ]; then best_launcher=$t; fi
done

awk -v j="$best_java" -v l="$best_launcher" -v limit="$limit" -v runs="$runs" -v jdk="$jdk" 'BEGIN {
  printf "JDK: %s\n", jdk
  printf "java -jar, status 1              %7.1f ms\n", j / 1e6
  printf "--cli launcher, answer stored     %7.1f ms\n", l / 1e6
  ratio = l / j
  printf "ratio launcher/java -jar: %.2f (target at most %.2f; best of %d runs each)\n", ratio, limit, runs
  exit ratio > limit ? 1 : 0
}'
