#!/usr/bin/env bash
# Packaging speed: lxpack create --main-jar makes a launcher around a 50 MB
# jar (the jar read for its manifest, the launcher's files made, the jar
# copied in with its checksum, the result read back and checked) against cp
# of the same jar, in the same run and on the same file system, best of
# several runs each. Target: at most 1.5.
set -euo pipefail
build=${LX_BUILD_DIR:-$(cd "$(dirname "$0")/.." && pwd)/build}
pack=$build/lxpack
limit=1.5
runs=${LX_BENCH_RUNS:-9}

[ -x "$pack" ] && [ -x "$build/lxlauncher" ] || { echo "pack: build lxlauncher and lxpack first (bench/run does)"; exit 1; }

work=$(mktemp -d "${TMPDIR:-/tmp}/lxbench.XXXXXX")
trap 'rm -rf "$work"' EXIT
cd "$work"
# Incompressible bytes, stored, as the resources of a large application
# jar are; lxpack reads only the class file's version (61, Java 17), so
# its bytes need not be code.
python3 - <<'PY'
import os, zipfile
with zipfile.ZipFile("app.jar", "w", zipfile.ZIP_DEFLATED) as z:
    z.writestr("META-INF/MANIFEST.MF", "Manifest-Version: 1.0\nMain-Class: app.Main\n")
    z.writestr("app/Main.class", b"\xca\xfe\xba\xbe\x00\x00\x00\x3d")
    for i in range(50):
        z.writestr(zipfile.ZipInfo("app/data/%02d.bin" % i), os.urandom(1000 * 1000), compress_type=zipfile.ZIP_STORED)
PY
mkdir tmp
export TMPDIR=$work/tmp
sync

now() { date +%s%N; }
best_cp=
best_pack=
for ((run = 1; run <= runs; run++)); do
  rm -f copy.jar setup.bin && sync
  start=$(now); cp app.jar copy.jar; end=$(now)
  t=$((end - start)); [ -z "$best_cp" ] || [ "$t" -lt "$best_cp" ] && best_cp=$t

  rm -f copy.jar && sync
  start=$(now); "$pack" create --main-jar app.jar --java 17+ -o setup.bin; end=$(now)
  t=$((end - start)); [ -z "$best_pack" ] || [ "$t" -lt "$best_pack" ] && best_pack=$t
done
"$pack" check setup.bin > /dev/null || { echo "pack: the launcher does not pass lxpack check"; exit 1; }

awk -v cp="$best_cp" -v pk="$best_pack" -v limit="$limit" -v runs="$runs" -v size="$(stat -c %s app.jar)" 'BEGIN {
  mb = size / 1e6
  printf "cp                     %8.1f ms  %7.0f MB/s\n", cp / 1e6, mb / (cp / 1e9)
  printf "lxpack create --main-jar %6.1f ms  %7.0f MB/s\n", pk / 1e6, mb / (pk / 1e9)
  ratio = pk / cp
  printf "ratio create/cp: %.2f (target at most %.2f; best of %d runs each, %.1f MB jar)\n", ratio, limit, runs, mb
  exit ratio > limit ? 1 : 0
}'
