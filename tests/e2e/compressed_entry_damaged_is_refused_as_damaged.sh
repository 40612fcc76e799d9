#!/usr/bin/env bash
# A deflated jar whose stored bytes were damaged is refused as damage: the
# run stops before the program starts with the message that asks for a new
# download, -lx:extract leaves no file of it, and lxpack check names it.
source "$(dirname "$0")/common.inc"
source "$(dirname "$0")/jar_launcher.inc"
source "$(dirname "$0")/compressed_jars.inc"

"$LXPACK" create --main-jar app/app.jar --class-path extra.jar --java 17+ --cli --compress -o app.bin 2>/dev/null ||
  fail "lxpack create --compress failed"
expect_eq "app.jar is stored deflated" 3 "$(entry_field app.bin app.jar 6)"
offset=$(entry_field app.bin app.jar 5)
length=$(entry_field app.bin app.jar 4)
at=$((offset + length / 2))
byte=$(od -An -tu1 -j "$at" -N1 app.bin | tr -d ' ')
put_bytes app.bin "$at" "$(printf '\\%03o' $((byte ^ 0x10)))"
message="The launcher file is damaged: its embedded file app.jar is not what was packed into it. Please download the launcher again."

run out ./app.bin
expect_eq "status" 255 "$status"
case $out in *"$expected_output"*) fail "the program ran" ;; esac
expect_contains "message" "$message" "$out$(cat "$T/.stderr")"
expect_clean_tmp "the refused run"

mkdir unpacked
run out sh -c 'cd unpacked && ../app.bin -lx:extract'
expect_eq "-lx:extract status" 255 "$status"
expect_contains "-lx:extract message" "$message" "$out$(cat "$T/.stderr")"
[ -z "$(ls -A unpacked)" ] || fail "-lx:extract left files: $(ls -A unpacked)"

run checked "$LXPACK" check app.bin
expect_eq "lxpack check status" 1 "$status"
expect_contains "lxpack check" "(app.jar): its bytes do not match their checksum" "$checked"
