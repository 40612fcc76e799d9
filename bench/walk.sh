#!/usr/bin/env bash
# The exhaustive JVM search walks every file system, so the walker must keep
# up with GNU find and stay linear in time and small in memory. Measures, in
# one run on generated trees:
#   - FindFiles against `find DIR -path '*/jre/bin/java'` on 300,000 files in
#     30,000 directories (ratio at most 1.0);
#   - the walk time per directory for 30,000 against 3,000 directories (at
#     most 1.5, that is, linear);
#   - the peak memory of the 30,000-directory walk (under 32 MB).
# Needs the release build (bench/run makes it), g++, findutils and python3.
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
source_dir=${LX_SOURCE_DIR:-$(dirname "$here")}
build_dir=${LX_BUILD_DIR:-$source_dir/build}
[ -f "$build_dir/liblxcore.a" ] || { echo "FAIL: no $build_dir/liblxcore.a (build the release first)"; exit 1; }

# The trees live in memory where possible: writing and removing 330,000
# files on a disk can take minutes, and the comparison with find holds on
# any file system that fills in readdir's entry type. LX_BENCH_DIR chooses.
where=${LX_BENCH_DIR:-}
if [ -z "$where" ]; then
  where=${TMPDIR:-/tmp}
  [ -d /dev/shm ] && [ -w /dev/shm ] && where=/dev/shm
fi
work=$(mktemp -d "$where/lxwalk.XXXXXX")
trap 'rm -rf "$work"' EXIT

g++ -std=c++17 -O2 -I"$source_dir/src" "$here/walk/WalkBench.cpp" "$build_dir/liblxcore.a" -o "$work/walk_bench"

python3 "$here/walk/make_tree.py" "$work/big" 30000 300000 >"$work/big.homes"
python3 "$here/walk/make_tree.py" "$work/small" 3000 30000 >"$work/small.homes"

echo "trees in $where ($(stat -f -c %T "$work"))"
status=0
report() {  # report LINE PYTHON-CONDITION: prints the line with PASS or FAIL
  if python3 -c "import sys; sys.exit(0 if $2 else 1)"; then
    echo "$1 PASS"
  else
    echo "$1 FAIL"
    status=1
  fi
}

# Same answer as find, and warm caches for everyone.
want=$(find "$work/big" -path '*/jre/bin/java' | wc -l)
# figures DIR REPEATS: the walk_bench line "found N seconds S maxrss_kb K"
figures() { "$work/walk_bench" "$1" "$2" jre/bin/java | tail -n 1; }

read -r _ got _ _ _ _ < <(figures "$work/big" 1)
if [ "$want" != "$got" ] || [ "$got" != "$(cat "$work/big.homes")" ]; then
  echo "FAIL: FindFiles found $got files, find $want, the tree holds $(cat "$work/big.homes")"
  exit 1
fi

repeats=9
{ read -r t_walk; read -r t_find; } < <(python3 "$here/walk/best_times.py" $repeats \
  "$work/walk_bench" "$work/big" 1 jre/bin/java -- find "$work/big" -path '*/jre/bin/java')
ratio=$(python3 -c "print('%.2f' % ($t_walk / $t_find))")
report "FindFiles/find, 300000 files in 30000 directories: $ratio (FindFiles ${t_walk}s, find ${t_find}s; target <= 1.0)" "$ratio <= 1.0"

# Walk times measured inside the process (no start-up cost), the two trees
# in turn, the best of each.
t_big= t_small= rss_kb=
for _ in $(seq $repeats); do
  read -r _ _ _ big _ rss_kb < <(figures "$work/big" 1)
  read -r _ _ _ small _ _ < <(figures "$work/small" 3)
  t_big=$(python3 -c "print(min($big, ${t_big:-$big}))")
  t_small=$(python3 -c "print(min($small, ${t_small:-$small}))")
done
per_dir=$(python3 -c "print('%.2f' % (($t_big / 30000) / ($t_small / 3000)))")
report "time per directory, 30000 against 3000 directories: $per_dir (${t_big}s, ${t_small}s; target <= 1.5)" "$per_dir <= 1.5"

rss_mb=$(python3 -c "print('%.1f' % ($rss_kb / 1024))")
report "peak memory, 30000-directory walk: ${rss_mb} MB (target < 32 MB)" "$rss_kb < 32 * 1024"
exit $status
