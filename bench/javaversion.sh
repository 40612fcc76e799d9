#!/usr/bin/env bash
# The best match of many homes: twenty homes with release files of Java 8
# to 30, the newest in the description's range (JAVA_VERSION: 17-25) last
# in the order of the hints, searched with no store of verified JVMs,
# against one bare start of the chosen java with the verification class.
# Ordering by release file and ruling out by it must leave one JVM start.
# Target: ratio at most 1.2.
set -euo pipefail
build=${LX_BUILD_DIR:-$(cd "$(dirname "$0")/.." && pwd)/build}
demo=$build/demo/setup.bin
limit=1.20
runs=${LX_BENCH_RUNS:-15}
[ -x "$demo" ] || { echo "javaversion: build the demo first (bench/run does)"; exit 1; }

# The machine's JDK 17 and 25 by their release files.
jdk_of() {
  local d
  for d in /usr/lib/jvm/*/; do
    d=${d%/}
    [ ! -L "$d" ] && [ -x "$d/bin/java" ] && [ -f "$d/release" ] || continue
    grep -q "^JAVA_VERSION=\"$1[.\"]" "$d/release" && { echo "$d"; return 0; }
  done
  echo "javaversion: needs a JDK $1 under /usr/lib/jvm (scripts/install-deps installs it)" >&2
  exit 1
}
jdk17=$(jdk_of 17)
jdk25=$(jdk_of 25)

work=$(mktemp -d "${TMPDIR:-/tmp}/lxbench.XXXXXX")
trap 'rm -rf "$work"' EXIT
unset JAVA_HOME JDK_HOME
export LX_JVM_CACHE=0
cp "$build/Verify.jar" "$work/"
# home VERSION JDK: $work/jdk-VERSION, whose java is JDK's and whose
# release file gives VERSION.
home() {
  mkdir -p "$work/jdk-$1/bin"
  ln -s "$2/bin/java" "$work/jdk-$1/bin/java"
  printf 'JAVA_VERSION="%s"\n' "$1" > "$work/jdk-$1/release"
}
hints=
for version in 1.8.0_392 9.0.4 10.0.2 11.0.25 12.0.2 13.0.2 14.0.2 15.0.2 16.0.2 17.0.13 18.0.2 19.0.2 20.0.2 \
  21.0.5 22.0.2 23.0.1 24.0.1 26.0.1 30.0.1 25.0.1; do
  home "$version" "$jdk17"
  hints+="  $work/jdk-$version"$'\n'
done
# The newest in the range, last: the one real Java 25 among them.
rm "$work/jdk-25.0.1/bin/java"
ln -s "$jdk25/bin/java" "$work/jdk-25.0.1/bin/java"
cat > "$work/best.jvm" <<JVM
DESC: Java 17 to 25
JVM_EXE: bin/java
CLASSPATH: "-cp "
JAVA_VERSION: 17-25
JVM_PROPERTIES:
  java.vendor=...
/:
PATH_HINT:
$hints/:
JVM
printf 'ACTION: SEARCH\nJVM: %s\n' "$work/best.jvm" > "$work/search.tag"
# For comparison: the same description with the chosen home alone, which
# shows what the nineteen others add to the launcher's own cost.
sed '/^PATH_HINT:/,/^\/:/d' "$work/best.jvm" > "$work/alone.jvm"
printf 'PATH_HINT: %s\n' "$work/jdk-25.0.1" >> "$work/alone.jvm"
printf 'ACTION: SEARCH\nJVM: %s\n' "$work/alone.jvm" > "$work/alone.tag"
printf 'LOGFILE: %s\n' "$work/search.log" | cat "$work/search.tag" - > "$work/logged.tag"

search() { PATH=/nonexistent "$demo" -lx:silent -lx:in "${1:-$work/search.tag}"; }
answer=$(search "$work/logged.tag")
[ "$(head -n1 <<< "$answer")" = 1 ] && [ "$(sed -n 2p <<< "$answer")" = "$work/jdk-25.0.1" ] ||
  { echo "javaversion: the search did not choose $work/jdk-25.0.1: $answer"; exit 1; }
rm -f "$(sed -n 3p <<< "$answer")"
starts=$(grep -c '^Executing launch script command: .*"Verify"' "$work/search.log" || true)
[ "$starts" = 1 ] || { echo "javaversion: the search started $starts JVMs, not one"; exit 1; }

now() { date +%s%N; }
best_bare=
best_search=
best_alone=
for ((run = 1; run <= runs; run++)); do
  start=$(now); "$work/jdk-25.0.1/bin/java" -cp "$work/Verify.jar" Verify java.vendor java.version > /dev/null; end=$(now)
  t=$((end - start)); if [ -z "$best_bare" ] || [ "$t" -lt "$best_bare" ]; then best_bare=$t; fi
  start=$(now); answer=$(search); end=$(now)
  rm -f "$(sed -n 3p <<< "$answer")"
  t=$((end - start)); if [ -z "$best_search" ] || [ "$t" -lt "$best_search" ]; then best_search=$t; fi
  start=$(now); answer=$(search "$work/alone.tag"); end=$(now)
  rm -f "$(sed -n 3p <<< "$answer")"
  t=$((end - start)); if [ -z "$best_alone" ] || [ "$t" -lt "$best_alone" ]; then best_alone=$t; fi
done

awk -v b="$best_bare" -v s="$best_search" -v a="$best_alone" -v limit="$limit" -v runs="$runs" 'BEGIN {
  printf "homes: twenty with release files of Java 8 to 30, JAVA_VERSION 17-25, the newest in it last; no store\n"
  printf "one bare verification start    %7.1f ms\n", b / 1e6
  printf "launcher SEARCH of twenty homes %7.1f ms\n", s / 1e6
  printf "launcher SEARCH of the one home %7.1f ms (for comparison)\n", a / 1e6
  ratio = s / b
  printf "ratio search/bare: %.2f (target at most %.2f; best of %d runs each)\n", ratio, limit, runs
  exit ratio > limit ? 1 : 0
}'
