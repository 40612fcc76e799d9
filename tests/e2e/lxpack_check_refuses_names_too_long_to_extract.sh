#!/usr/bin/env bash
# lxpack check refuses every entry name that the launcher could not
# extract: a name of 256 bytes or more fits the index (up to 32767) but no
# Linux file system, so -lx:extract fails on it with the system's reason
# (and without the hint about free space), and check says so beforehand.
# 255 bytes pass both.
source "$(dirname "$0")/common.inc"
need_lxpack

# launcher_with_name OUT LENGTH: the launcher program and one application
# entry "x" named by LENGTH letters n, laid out by hand as another writer
# could (lxpack create refuses the long name).
launcher_with_name() {
  python3 - "$LXLAUNCHER" "$1" "$2" <<'PY'
import struct, sys
program = open(sys.argv[1], "rb").read()
name = b"n" * int(sys.argv[3])
index = struct.pack(">IBIIIh", 1, 6, 0, 1, len(program), len(name)) + name + b"\0" + b"\0"
with open(sys.argv[2], "wb") as f:
    f.write(program + b"x" + index + struct.pack(">II", len(program) + 1, 0xCA82CA82))
PY
  chmod +x "$1"
}

launcher_with_name fits.bin 255
expect_eq "255 bytes: check" "fits.bin: OK, $(uname -m), 1 entries, without checksums" "$("$LXPACK" check fits.bin)"
mkdir fits && (cd fits && ../fits.bin -lx:extract > /dev/null) || fail "255 bytes: -lx:extract failed"
[ -f "fits/$(printf 'n%.0s' $(seq 255))" ] || fail "255 bytes: the file was not extracted"

for length in 256 32767; do
  launcher_with_name long.bin "$length"
  run out "$LXPACK" check long.bin
  expect_eq "$length bytes: check status" 1 "$status"
  expect_contains "$length bytes: check" "an embedded file name may have at most 255 bytes" "$out"
  rm -rf long && mkdir long
  run out bash -c 'cd long && ../long.bin -lx:extract'
  expect_eq "$length bytes: -lx:extract status" 255 "$status"
  expect_contains "$length bytes: -lx:extract reason" ": File name too long." "$out"
  case "$out" in *"disk space"*) fail "$length bytes: the free-space hint for a name too long" ;; esac
  expect_eq "$length bytes: files left" "" "$(ls -A long)"
done
