#!/usr/bin/env bash
# The exhaustive JVM search for an executable that exists nowhere walks the
# whole machine. Reference: GNU find over the same tree, also leaving /tmp
# out, measured in the same run. Target: ratio (search / find) at most 0.9.
# The search runs in a small program linked against liblxcore
# (bench/searchall.cpp).
set -euo pipefail
: "${LX_BUILD_DIR:?run through bench/run}" "${LX_SOURCE_DIR:?run through bench/run}"

work=$(mktemp -d "${TMPDIR:-/tmp}/lxbench.XXXXXX")
trap 'rm -rf "$work"' EXIT

g++ -std=c++17 -O2 -I"$LX_SOURCE_DIR/src" "$LX_SOURCE_DIR/bench/searchall.cpp" \
  "$LX_BUILD_DIR/liblxcore.a" -o "$work/searchall"

exe="lx-bench-absent-$$/bin/java"
rounds=5

# Seconds one command takes, process start included for both programs.
seconds() {
  local start end
  start=$(date +%s%N)
  "$@" >/dev/null 2>&1 || true
  end=$(date +%s%N)
  awk -v ns=$((end - start)) 'BEGIN { printf "%.3f\n", ns / 1e9 }'
}

run_find() { find / -path /tmp -prune -o -path "*/$exe" -print; }
run_search() { "$work/searchall" "$exe"; }

# Both walks read the same directories: an untimed pass of each fills the
# kernel's caches, then the best of a few rounds is compared.
seconds run_find >/dev/null
seconds run_search >/dev/null
find_times=()
search_times=()
for _ in $(seq "$rounds"); do
  find_times+=("$(seconds run_find)")
  search_times+=("$(seconds run_search)")
done

awk -v f="${find_times[*]}" -v s="${search_times[*]}" '
  function best(list,   n, i, v, m) {
    n = split(list, v, " "); m = v[1]
    for (i = 2; i <= n; i++) if (v[i] + 0 < m + 0) m = v[i]
    return m
  }
  BEGIN {
    bf = best(f); bs = best(s); ratio = bs / bf
    printf "find:   %.3f s (rounds: %s)\n", bf, f
    printf "search: %.3f s (rounds: %s)\n", bs, s
    printf "ratio:  %.2f (target <= 0.90)\n", ratio
    exit ratio <= 0.9 ? 0 : 1
  }'
