#!/usr/bin/env bash
# Long lists load in linear time: an input file of a million tags, one of a
# block of a million values, and a launcher whose index holds 200,000
# entries (each checked against its checksum before the run goes on).
# Targets: each tag file in under 2 s, the index in under 2 s. For scale,
# awk reads the million tags into a hash table in the same run.
set -euo pipefail
build=${LX_BUILD_DIR:-$(cd "$(dirname "$0")/.." && pwd)/build}
launcher=$build/lxlauncher
[ -x "$launcher" ] || { echo "loading: build lxlauncher first (bench/run does)"; exit 1; }
work=$(mktemp -d "${TMPDIR:-/tmp}/lxbench.XXXXXX")
trap 'rm -rf "$work"' EXIT
cd "$work"

awk 'BEGIN { for (i = 0; i < 1000000; i++) printf "TAG%d: value %d\n", i, i }' > tags.tag
awk 'BEGIN { print "LIST:"; for (i = 0; i < 1000000; i++) printf "  value %d\n", i; print "/:" }' > block.tag
python3 - "$launcher" <<'PY'
import struct, sys
def crc32c(data, crc=0xFFFFFFFF):
    for b in data:
        crc ^= b
        for _ in range(8): crc = (crc >> 1) ^ (0x82F63B78 & -(crc & 1))
    return crc ^ 0xFFFFFFFF
program = open(sys.argv[1], "rb").read()
count = 200000
data = bytes(i % 251 for i in range(count))
index = bytearray(struct.pack(">I", count))
table = [crc32c(bytes([b])) for b in range(256)]
for i in range(count):
    name = b"f%d.jar" % i
    index += struct.pack(">BIIIh", 6, i, 1, len(program) + i, len(name)) + name + b"\0"
index += b"\0"
sums = [table[b] for b in data] + [crc32c(bytes(index))]
block = struct.pack(">II", 1, count) + b"".join(struct.pack(">I", s) for s in sums)
block += struct.pack(">I", crc32c(block))
block += struct.pack(">II", len(block) + 8, 0x4C584353)
offset = len(program) + len(data) + len(block)
with open("index.bin", "wb") as f:
    f.write(program + data + block + bytes(index) + struct.pack(">II", offset, 0xCA82CA82))
PY
chmod +x index.bin

now() { date +%s%N; }
seconds() { awk -v t="$1" 'BEGIN { printf "%.2f", t / 1e9 }'; }
status=0
start=$(now); awk -F: '{ n[$1] = $2 } END { print length(n) > "/dev/null" }' tags.tag; awk_time=$(($(now) - start))
for file in tags.tag block.tag; do
  start=$(now); "$launcher" -lx:silent -lx:in "$file" > /dev/null || true; t=$(($(now) - start))
  printf '%-10s a million lines: %s s (target under 2 s; awk reads the tags in %s s, ratio %.2f)\n' \
    "$file" "$(seconds "$t")" "$(seconds "$awk_time")" "$(awk -v a="$t" -v b="$awk_time" 'BEGIN { print a / b }')"
  [ "$t" -lt 2000000000 ] || status=1
done
start=$(now); ./index.bin -lx:silent > /dev/null || true; t=$(($(now) - start))
printf 'index of 200,000 entries, each checked: %s s (target under 2 s)\n' "$(seconds "$t")"
[ "$t" -lt 2000000000 ] || status=1
exit $status
