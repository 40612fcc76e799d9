#!/usr/bin/env bash
# Start-up cost of a program's folder: a launcher carrying a folder of 2,000
# files in 40 directories (20 MB of text and binary data, as a program's
# documents, modes and libraries are) unpacks it for %APP_DIR%() and starts
# a stand-in java that does nothing, against tar -xzf of the same folder
# (gzip at its default level) into the same file system, in the same run.
# The launcher's run includes everything else it does before the start
# (reading its index, checking every entry's checksum, the clean-up after
# it). Target: at most 1.5.
set -euo pipefail
build=${LX_BUILD_DIR:-$(cd "$(dirname "$0")/.." && pwd)/build}
launcher=$build/lxlauncher
pack=$build/lxpack
limit=1.5
runs=${LX_BENCH_RUNS:-7}

[ -x "$launcher" ] && [ -x "$pack" ] || { echo "appdir: build lxlauncher and lxpack first (bench/run does)"; exit 1; }

work=$(mktemp -d "${TMPDIR:-/tmp}/lxbench.XXXXXX")
trap 'rm -rf "$work"' EXIT
cd "$work"
python3 - <<'PY'
import os, random
random.seed(1)
words = [("".join(random.choice("abcdefghijklmnopqrstuvwxyz") for _ in range(random.randint(2, 9))))
         for _ in range(3000)]
for d in range(40):
    os.makedirs(f"folder/dir{d:02}")
    for f in range(50):
        size = 10000 + random.randint(-4000, 4000)
        if f % 5 == 0:
            data = random.randbytes(size)
        else:
            data = " ".join(random.choice(words) for _ in range(size // 5)).encode()[:size]
        open(f"folder/dir{d:02}/file{f:02}.dat", "wb").write(data)
PY
bytes=$(find folder -type f -printf '%s\n' | awk '{s+=$1} END {print s}')
tar -czf folder.tar.gz folder

mkdir -p jvm/bin tmp
printf '#!/bin/sh\n[ -f "$1/dir39/file49.dat" ]\n' > jvm/bin/java
chmod +x jvm/bin/java
printf 'JVM_HOME: %s\nJVM_EXE: bin/java\n' "$work/jvm" > app.jvm
printf 'COMMAND: """@JVM_HOME@/@JVM_EXE@"" ""%%APP_DIR%%()"""\n' > launch.txt
printf 'INSTRUCTIONS:\n  LAUNCH "%s" 0\n/:\n' "$work/app.jvm" > instructions.txt
"$pack" create --force -s "$launcher" -o setup.bin instructions=instructions.txt launch-script=launch.txt \
  app-dir=folder 2>/dev/null
compressed=$(stat -c %s setup.bin)
sync

now() { date +%s%N; }
best_tar=
best_launcher=
for ((run = 1; run <= runs; run++)); do
  rm -rf out && mkdir out && sync
  start=$(now); tar -xzf folder.tar.gz -C out; end=$(now)
  t=$((end - start)); [ -z "$best_tar" ] || [ "$t" -lt "$best_tar" ] && best_tar=$t
  rm -rf out && sync

  start=$(now); TMPDIR=$work/tmp ./setup.bin -lx:silent; end=$(now)
  t=$((end - start)); [ -z "$best_launcher" ] || [ "$t" -lt "$best_launcher" ] && best_launcher=$t
  [ -z "$(ls -A tmp)" ] || { echo "appdir: the launcher left files behind"; exit 1; }
done

awk -v tar="$best_tar" -v lx="$best_launcher" -v limit="$limit" -v runs="$runs" -v bytes="$bytes" \
  -v packed="$compressed" -v gz="$(stat -c %s folder.tar.gz)" 'BEGIN {
  printf "folder: 2000 files, %.1f MB; launcher %.1f MB, tar.gz %.1f MB\n", bytes / 1e6, packed / 1e6, gz / 1e6
  printf "tar -xzf          %8.1f ms\n", tar / 1e6
  printf "launcher (unpack) %8.1f ms\n", lx / 1e6
  ratio = lx / tar
  printf "ratio launcher/tar: %.2f (target at most %.2f; best of %d runs each)\n", ratio, limit, runs
  exit ratio > limit ? 1 : 0
}'
