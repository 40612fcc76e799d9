#!/usr/bin/env bash
# A launcher file with one flipped byte in any of its entries, whatever the
# entry's type, is refused before any instruction runs: the console and the
# log say that the launcher file is damaged, name the entry and ask for a
# new download; the status is 255, nothing is extracted, the wizard does
# not run. A flipped byte in the file index is told the same way. The
# message is in the user's language. lxpack check names the damaged entry,
# and lxpack extract refuses to extract from the file.
source "$(dirname "$0")/common.inc"
source "$(dirname "$0")/checksummed_launcher.inc"

for name in instructions.txt launch.txt app.jvm Verify.jar cp.jar app.jar installer.sh inner.bin; do
  cp all.bin damaged.bin
  offset=$(entry_offset "$name")
  [ -n "$offset" ] || fail "no entry $name"
  # The entry's 11th byte, one bit: small enough to leave the file valid
  # in every other respect.
  byte=$(od -An -tu1 -j $((offset + 10)) -N1 damaged.bin | tr -d ' ')
  put_bytes damaged.bin $((offset + 10)) "$(printf '\\%03o' $((byte ^ 4)))"
  rm -f log.txt
  run out ./damaged.bin -lx:log "$T/log.txt"
  expect_eq "$name damaged: status" 255 "$status"
  expect_eq "$name damaged: console" "$(damaged_entry_message "$name")" "$out"
  expect_contains "$name damaged: log" "ERROR: $(damaged_entry_message "$name")" "$(cat log.txt)"
  expect_nothing_ran "$name damaged"
  # lxpack check names the entry; lxpack extract writes nothing.
  run checked "$LXPACK" check damaged.bin
  expect_eq "$name damaged: check status" 1 "$status"
  expect_contains "$name damaged: check" "($name): its bytes do not match their checksum" "$checked"
  mkdir out
  run extracted "$LXPACK" extract -C out damaged.bin
  expect_eq "$name damaged: extract status" 1 "$status"
  expect_eq "$name damaged: extract message" "lxpack: damaged.bin: entry '$name' does not match its checksum: the file is damaged; nothing was extracted" "$(cat "$T/.stderr")"
  expect_eq "$name damaged: extracted" "" "$(ls out)"
  rmdir out
done

# The index: the first entry's name loses a letter's case.
index=$(tail -c 8 all.bin | head -c 4 | od -An -tu1 | awk '{print $1*16777216 + $2*65536 + $3*256 + $4}')
cp all.bin damaged.bin
put_bytes damaged.bin $((index + 4 + 15)) 'I'
run out ./damaged.bin
expect_eq "index damaged: status" 255 "$status"
expect_eq "index damaged: console" "The launcher file is damaged: its file index is not what was packed into it. Please download the launcher again." "$out"
expect_nothing_ran "index damaged"

# In the user's language.
cp all.bin damaged.bin
put_bytes damaged.bin $(($(entry_offset app.jar) + 5)) 'X'
run out env LANG=de_DE.UTF-8 ./damaged.bin
expect_eq "German: status" 255 "$status"
expect_eq "German: console" "Die Datei des Startprogramms ist beschädigt: Die eingebettete Datei app.jar entspricht nicht dem, was verpackt wurde. Bitte laden Sie das Startprogramm erneut herunter." "$out"
expect_nothing_ran "German"
