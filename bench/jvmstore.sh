#!/usr/bin/env bash
# The store of verified JVMs: the demo launcher run again with its
# verification remembered starts one JVM (the wizard) instead of two. Against
# a shell script that runs the same two java commands (the verification
# class, then the wizard), measured in the same run. Target: ratio at most
# 0.6.
set -euo pipefail
build=${LX_BUILD_DIR:-$(cd "$(dirname "$0")/.." && pwd)/build}
demo=$build/demo/setup.bin
limit=0.60
runs=${LX_BENCH_RUNS:-15}
[ -x "$demo" ] || { echo "jvmstore: build the demo first (bench/run does)"; exit 1; }

work=$(mktemp -d "${TMPDIR:-/tmp}/lxbench.XXXXXX")
trap 'rm -rf "$work"' EXIT
export XDG_CACHE_HOME=$work/cache
unset JAVA_HOME JDK_HOME LX_JVM_CACHE

# The first run verifies and fills the store; the log tells which JDK the
# demo takes, so that the script runs the same one.
"$demo" -lx:log "$work/first.log" < /dev/null > /dev/null
jdk=$(sed -n 's/^Matching JVM home is //p' "$work/first.log" | head -n1)
[ -n "$jdk" ] || { echo "jvmstore: the demo found no JDK on this machine"; exit 1; }
"$demo" -lx:log "$work/second.log" < /dev/null > /dev/null
grep -q "from the store of verified JVMs" "$work/second.log" || { echo "jvmstore: the second run did not use the store"; exit 1; }

source "$(dirname "$0")/demo_reference.inc"
write_direct_script "$jdk"
time_against_direct "$runs" "$demo"

awk -v d="$best_direct" -v l="$best_launcher" -v limit="$limit" -v runs="$runs" -v jdk="$jdk" 'BEGIN {
  printf "JDK: %s\n", jdk
  printf "two java commands          %7.1f ms\n", d / 1e6
  printf "demo, verification stored  %7.1f ms\n", l / 1e6
  ratio = l / d
  printf "ratio launcher/direct: %.2f (target at most %.2f; best of %d runs each)\n", ratio, limit, runs
  exit ratio > limit ? 1 : 0
}'
