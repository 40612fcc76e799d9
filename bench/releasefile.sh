#!/usr/bin/env bash
# The release file rules candidates out: four JDK homes, of which only the
# last has the version a description asks for (java.version), searched by a
# launcher with no store of verified JVMs, against one bare start of the
# matching java with the verification class. The three others must cost no
# JVM start. Target: ratio at most 1.2.
set -euo pipefail
build=${LX_BUILD_DIR:-$(cd "$(dirname "$0")/.." && pwd)/build}
demo=$build/demo/setup.bin
limit=1.20
runs=${LX_BENCH_RUNS:-15}
[ -x "$demo" ] || { echo "releasefile: build the demo first (bench/run does)"; exit 1; }

# The machine's JDKs by the major version their release file gives.
declare -A by_major=()
for d in /usr/lib/jvm/*/; do
  d=${d%/}
  [ ! -L "$d" ] && [ -x "$d/bin/java" ] && [ -f "$d/release" ] || continue
  major=$(sed -n 's/^JAVA_VERSION="\([0-9]*\).*/\1/p' "$d/release")
  [ -n "$major" ] && by_major[$major]=$d
done
majors=$(printf '%s\n' "${!by_major[@]}" | sort -n)
wanted=$(tail -n1 <<< "$majors")
older=$(head -n1 <<< "$majors")
[ -n "$wanted" ] && [ "$wanted" != "$older" ] ||
  { echo "releasefile: needs two JDKs of different versions under /usr/lib/jvm"; exit 1; }

work=$(mktemp -d "${TMPDIR:-/tmp}/lxbench.XXXXXX")
trap 'rm -rf "$work"' EXIT
unset JAVA_HOME JDK_HOME LX_JVM_CACHE
cp "$build/Verify.jar" "$work/"
# Homes that are the machine's JDKs in all that matters: their java (which
# finds its libraries through its real path) and their release file.
home_like() {
  mkdir -p "$work/$1/bin"
  ln -s "$2/bin/java" "$work/$1/bin/java"
  cp "$2/release" "$work/$1/release"
}
home_like jdk-a "${by_major[$older]}"
home_like jdk-b "${by_major[$older]}"
home_like jdk-c "${by_major[$older]}"
home_like jdk-d "${by_major[$wanted]}"
cat > "$work/wanted.jvm" <<JVM
DESC: Java $wanted
JVM_EXE: bin/java
CLASSPATH: "-cp "
JVM_PROPERTIES:
  java.version=$wanted...
  java.vendor=...
/:
PATH_HINT:
  $work/jdk-a
  $work/jdk-b
  $work/jdk-c
  $work/jdk-d
/:
JVM
printf 'ACTION: SEARCH\nJVM: %s\n' "$work/wanted.jvm" > "$work/search.tag"
printf 'LOGFILE: %s\n' "$work/search.log" | cat "$work/search.tag" - > "$work/logged.tag"

# search [TAG]: one search with an empty store.
search() {
  rm -rf "$work/cache"
  XDG_CACHE_HOME=$work/cache "$demo" -lx:silent -lx:in "${1:-$work/search.tag}"
}
answer=$(search "$work/logged.tag")
[ "$(head -n1 <<< "$answer")" = 1 ] && [ "$(sed -n 2p <<< "$answer")" = "$work/jdk-d" ] ||
  { echo "releasefile: the search did not find $work/jdk-d: $answer"; exit 1; }
rm -f "$(sed -n 3p <<< "$answer")"
[ "$(grep -c '^Skipping .*: its release file gives' "$work/search.log")" = 3 ] ||
  { echo "releasefile: the three older homes were not ruled out by their release files"; exit 1; }

now() { date +%s%N; }
best_bare=
best_search=
for ((run = 1; run <= runs; run++)); do
  start=$(now); "$work/jdk-d/bin/java" -cp "$work/Verify.jar" Verify java.version java.vendor > /dev/null; end=$(now)
  t=$((end - start)); if [ -z "$best_bare" ] || [ "$t" -lt "$best_bare" ]; then best_bare=$t; fi
  start=$(now); answer=$(search); end=$(now)
  rm -f "$(sed -n 3p <<< "$answer")"
  t=$((end - start)); if [ -z "$best_search" ] || [ "$t" -lt "$best_search" ]; then best_search=$t; fi
done

awk -v b="$best_bare" -v s="$best_search" -v limit="$limit" -v runs="$runs" -v older="$older" -v wanted="$wanted" 'BEGIN {
  printf "homes: three of Java %s, then one of Java %s; no store\n", older, wanted
  printf "one bare verification start  %7.1f ms\n", b / 1e6
  printf "launcher SEARCH of four homes %7.1f ms\n", s / 1e6
  ratio = s / b
  printf "ratio search/bare: %.2f (target at most %.2f; best of %d runs each)\n", ratio, limit, runs
  exit ratio > limit ? 1 : 0
}'
