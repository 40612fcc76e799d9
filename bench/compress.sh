#!/usr/bin/env bash
# Jars stored deflated, with Debian's own programs (scripts/install-deps
# installs them):
#
# - Size: jEdit's launcher made in one command (its jar, and its folder
#   /usr/share/jedit with the links followed, as --app-dir), against the
#   same files in a tar archive compressed with gzip at its default level
#   (tar czf), which is what makeself, a shell self-extractor, appends to
#   its script by default. Target: the launcher at most 1.1 times the
#   tar.gz plus the stripped launcher program, which every launcher carries.
# - Time: the first output of jflex (a lexer generator, a command-line
#   program) on a small specification, from the start of its launcher made
#   with --compress against the same launcher with --no-compress, in the
#   same run, alternately (each first every other time), best of each.
#   Target: at most 1.05.
set -euo pipefail
build=${LX_BUILD_DIR:-$(cd "$(dirname "$0")/.." && pwd)/build}
launcher=$build/lxlauncher
pack=$build/lxpack
size_limit=1.10
time_limit=1.05
runs=${LX_BENCH_RUNS:-15}

[ -x "$launcher" ] && [ -x "$pack" ] || { echo "compress: build lxlauncher and lxpack first (bench/run does)"; exit 1; }
for f in /usr/share/jedit/jedit.jar /usr/share/java/jflex.jar; do
  [ -f "$f" ] || { echo "compress: $f is missing (scripts/install-deps installs jedit and jflex)"; exit 1; }
done
jdk=
for d in /usr/lib/jvm/*/; do
  d=${d%/}
  [ ! -L "$d" ] && [ -x "$d/bin/java" ] && grep -q '^JAVA_VERSION="17' "$d/release" 2>/dev/null && { jdk=$d; break; }
done
[ -n "$jdk" ] || { echo "compress: no JDK 17 under /usr/lib/jvm"; exit 1; }

work=$(mktemp -d "${TMPDIR:-/tmp}/lxbench.XXXXXX")
trap 'rm -rf "$work"' EXIT
cd "$work"
export XDG_CACHE_HOME=$work/cache

# jEdit: the jar beside its folder, links followed.
mkdir jedit
cp /usr/share/jedit/jedit.jar jedit/
cp -rL /usr/share/jedit jedit/home
rm -f jedit/home/jedit.jar jedit/home/jedit.sh
(cd jedit && tar czf ../jedit.tar.gz jedit.jar home)
"$pack" create --main-jar jedit/jedit.jar --java 11+ --app-dir jedit/home -o jedit.bin 2>/dev/null
strip -o program.stripped "$launcher"
awk -v lx="$(stat -c %s jedit.bin)" -v gz="$(stat -c %s jedit.tar.gz)" -v program="$(stat -c %s program.stripped)" \
  -v limit="$size_limit" 'BEGIN {
  printf "jEdit launcher         %9d bytes\n", lx
  printf "tar czf of its files   %9d bytes (makeself default archive, without its script)\n", gz
  printf "stripped program       %9d bytes\n", program
  ratio = (lx - program) / gz
  printf "ratio (launcher - program)/tar.gz: %.2f (target at most %.2f)\n", ratio, limit
  exit ratio > limit ? 1 : 0
}' || status=1

# jflex: the one-command launcher as a user makes it, with and without
# --compress; the first line it prints is its first output.
cat > Lexer.flex <<'FLEX'
%%
%class Lexer
%standalone
%%
[a-z]+ { System.out.println("word"); }
FLEX
"$pack" create --main-jar /usr/share/java/jflex.jar --java 17+ --cli --compress -o jflex-compressed.bin 2>/dev/null
"$pack" create --main-jar /usr/share/java/jflex.jar --java 17+ --cli --no-compress -o jflex-stored.bin 2>/dev/null
"$pack" list -p jflex-compressed.bin | awk -F'\t' '$1 == "entry" && $6 == 3 { n++ } END { exit n >= 1 ? 0 : 1 }' ||
  { echo "compress: jflex-compressed.bin has no deflated jar"; exit 1; }
export JAVA_HOME=$jdk
python3 - "$runs" "$time_limit" <<'PY' || status=1
import os, subprocess, sys, time
runs, limit = int(sys.argv[1]), float(sys.argv[2])

def first_output(program):
    start = time.perf_counter_ns()
    p = subprocess.Popen([program, "-d", "out", "Lexer.flex"], stdout=subprocess.PIPE, stderr=subprocess.DEVNULL)
    line = p.stdout.readline()
    took = time.perf_counter_ns() - start
    p.stdout.read()
    if p.wait() != 0 or not line:
        sys.exit(f"compress: {program} failed")
    return took, line

# A first run of each stores the verified JVM, as a user's first run does.
for program in ("./jflex-compressed.bin", "./jflex-stored.bin"):
    first_output(program)
best = {}
programs = ["./jflex-compressed.bin", "./jflex-stored.bin"]
for run in range(runs):
    # Each goes first every other time: a busy machine favours neither.
    for program in programs if run % 2 == 0 else reversed(programs):
        took, line = first_output(program)
        best[program] = min(best.get(program, took), took)
print(f"first output: {line.decode().strip()}")
print(f"jflex --no-compress  {best['./jflex-stored.bin'] / 1e6:8.1f} ms")
print(f"jflex --compress     {best['./jflex-compressed.bin'] / 1e6:8.1f} ms")
ratio = best["./jflex-compressed.bin"] / best["./jflex-stored.bin"]
print(f"ratio compressed/stored: {ratio:.2f} (target at most {limit:.2f}; best of {runs} runs each)")
sys.exit(1 if ratio > limit else 0)
PY
exit ${status:-0}
