#!/usr/bin/env bash
# Extraction speed: a launcher carrying one 256 MiB entry is unpacked with
# -lx:extract, which checks the entry against its CRC-32C in the same pass
# that writes it, against cp of the same bytes in the same run and on the
# same file system. The copy gives one progress step per 61439 bytes and
# moves 32 such chunks per system call; a second process checks the bytes
# as the kernel copies them, so the ratio shows what the steps and the
# check cost against the kernel's own copy. Target: at most 1.25.
set -euo pipefail
build=${LX_BUILD_DIR:-$(cd "$(dirname "$0")/.." && pwd)/build}
launcher=$build/lxlauncher
pack=$build/lxpack
limit=1.25
runs=${LX_BENCH_RUNS:-7}

[ -x "$launcher" ] && [ -x "$pack" ] || { echo "extract: build lxlauncher and lxpack first (bench/run does)"; exit 1; }

work=$(mktemp -d "${TMPDIR:-/tmp}/lxbench.XXXXXX")
trap 'rm -rf "$work"' EXIT
cd "$work"
head -c $((256 * 1024 * 1024)) /dev/urandom > payload.bin
# A launcher of one archive and nothing to run: --force writes it.
"$pack" create --force -s "$launcher" -o setup.bin application=payload.bin 2>/dev/null
"$pack" list setup.bin | grep -q '^checksums: CRC-32C' || { echo "extract: the launcher carries no checksums"; exit 1; }
rm payload.bin
# cp gets exactly the entry's bytes, read from the same launcher file's
# neighbour so both read from the page cache.
"$pack" extract setup.bin > /dev/null
mv payload.bin source.bin
sync

now() { date +%s%N; }
best_cp=
best_extract=
for ((run = 1; run <= runs; run++)); do
  rm -rf copy.bin out && mkdir out && sync
  start=$(now); cp source.bin copy.bin; end=$(now)
  t=$((end - start)); [ -z "$best_cp" ] || [ "$t" -lt "$best_cp" ] && best_cp=$t

  rm -rf copy.bin && sync
  start=$(now); (cd out && ../setup.bin -lx:extract > /dev/null); end=$(now)
  t=$((end - start)); [ -z "$best_extract" ] || [ "$t" -lt "$best_extract" ] && best_extract=$t
  cmp -s source.bin out/payload.bin || { echo "extract: the extracted file differs"; exit 1; }
done

awk -v cp="$best_cp" -v ex="$best_extract" -v limit="$limit" -v runs="$runs" 'BEGIN {
  mb = 256 * 1048576 / 1e6
  printf "cp          %8.1f ms  %7.0f MB/s\n", cp / 1e6, mb / (cp / 1e9)
  printf "-lx:extract %8.1f ms  %7.0f MB/s\n", ex / 1e6, mb / (ex / 1e9)
  ratio = ex / cp
  printf "ratio extract/cp: %.2f (target at most %.2f; best of %d runs each)\n", ratio, limit, runs
  exit ratio > limit ? 1 : 0
}'
