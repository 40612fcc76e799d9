#!/usr/bin/env bash
# Damage that no checksum covers is told as damage too: a flipped bit in the
# trailer's index offset, and an erased identification of the checksum
# block, which would otherwise make a launcher with checksums read as one
# without them and run its entries unchecked. The launcher ends with 255
# and the damaged-file message, runs and extracts nothing, and lxpack list
# and check say what is wrong. (Launchers written without checksums still
# run: launcher_without_checksums_runs_as_before.sh.)
source "$(dirname "$0")/common.inc"
source "$(dirname "$0")/damaged_launcher.inc"
damaged="The launcher file is damaged: its file index is not what was packed into it. Please download the launcher again."

# flip_bit FILE OFFSET BIT
flip_bit() {
  python3 -c '
import sys
path, offset, bit = sys.argv[1], int(sys.argv[2]), int(sys.argv[3])
with open(path, "r+b") as f:
    f.seek(offset); b = f.read(1)[0]; f.seek(offset); f.write(bytes([b ^ (1 << bit)]))
' "$@"
}

# what | how the bytes are damaged | what lxpack check says
cases=(
  "offset bit 0|flip_bit damaged.bin $((size - 5)) 0|"
  "offset bit 2|flip_bit damaged.bin $((size - 5)) 2|"
  "offset bit 5|flip_bit damaged.bin $((size - 5)) 5|"
  "offset bit 9|flip_bit damaged.bin $((size - 6)) 1|"
  "erased marker|put_bytes damaged.bin $((index - 4)) '\\000\\000\\000\\000'|stray bytes between the embedded files and the index"
  "erased length and marker|put_bytes damaged.bin $((index - 8)) '\\000\\000\\000\\000\\000\\000\\000\\000'|stray bytes between the embedded files and the index"
)
for case in "${cases[@]}"; do
  IFS='|' read -r what how said <<<"$case"
  cp good.bin damaged.bin
  eval "$how"
  run out ./damaged.bin
  expect_eq "$what: status" 255 "$status"
  case $out in
    "$damaged" | "Unable to load the launcher file index. "*) ;;
    *) fail "$what: no message of a damaged file index: '$out'" ;;
  esac
  expect_nothing_ran "$what"

  mkdir unpacked
  run out env -C unpacked ../damaged.bin -lx:extract
  expect_eq "$what: -lx:extract status" 255 "$status"
  [ -z "$(ls -A unpacked)" ] || fail "$what: -lx:extract wrote $(ls -A unpacked)"
  rm -r unpacked

  if "$LXPACK" list damaged.bin >/dev/null 2>&1; then fail "$what: lxpack list found nothing wrong"; fi
  run out "$LXPACK" check damaged.bin
  expect_eq "$what: lxpack check status" 1 "$status"
  [ -z "$said" ] || expect_contains "$what: lxpack check" "$said" "$out"
done
