#!/usr/bin/env bash
# The launcher's own cost around a launch: the demo launcher with
# -lx:javahome verifies the given JDK and starts the wizard, against a shell
# script that runs the same two java commands (the verification class, then
# the wizard). Targets: ratio at most 1.10; the launcher program, stripped,
# at most 1.2 MB (it is static: C library and C++ runtime included).
set -euo pipefail
build=${LX_BUILD_DIR:-$(cd "$(dirname "$0")/.." && pwd)/build}
demo=$build/demo/setup.bin
limit=1.10
runs=${LX_BENCH_RUNS:-15}
[ -x "$demo" ] || { echo "javahome: build the demo first (bench/run does)"; exit 1; }
# Every run verifies, as the script below does: no answer from the store of
# verified JVMs (bench/jvmstore.sh measures that).
export LX_JVM_CACHE=0

# The demo's first JVM description asks for Java 20 or newer: take such a
# JDK, so that the launcher verifies exactly one candidate, as the script
# below runs exactly one verification.
jdk=
for d in /usr/lib/jvm/*/; do
  d=${d%/}
  [ ! -L "$d" ] && [ -x "$d/bin/java" ] || continue
  if grep -q '^JAVA_VERSION="2' "$d/release" 2>/dev/null; then jdk=$d; break; fi
done
[ -n "$jdk" ] || { echo "javahome: no JDK of version 20 or newer under /usr/lib/jvm"; exit 1; }

work=$(mktemp -d "${TMPDIR:-/tmp}/lxbench.XXXXXX")
trap 'rm -rf "$work"' EXIT
source "$(dirname "$0")/demo_reference.inc"
write_direct_script "$jdk"
time_against_direct "$runs" "$demo" -lx:javahome "$jdk"

stripped=$work/lxlauncher.stripped
strip -o "$stripped" "$build/lxlauncher"
size=$(stat -c %s "$stripped")

awk -v d="$best_direct" -v l="$best_launcher" -v limit="$limit" -v runs="$runs" -v size="$size" 'BEGIN {
  printf "two java commands  %7.1f ms\n", d / 1e6
  printf "demo -lx:javahome  %7.1f ms\n", l / 1e6
  ratio = l / d
  printf "ratio launcher/direct: %.2f (target at most %.2f; best of %d runs each)\n", ratio, limit, runs
  printf "stripped launcher: %d bytes (target at most 1200000: static, C library included)\n", size
  exit (ratio > limit || size > 1200000) ? 1 : 0
}'
