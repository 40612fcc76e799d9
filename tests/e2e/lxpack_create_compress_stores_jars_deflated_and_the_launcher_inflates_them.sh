#!/usr/bin/env bash
# lxpack create --main-jar --compress stores the program's jar and the jars
# it carries deflated: each takes fewer bytes in the launcher, lxpack list
# shows its stored length and its size unpacked, the program runs from
# them, and -lx:extract gives back every jar byte for byte. Without the
# option a jar is deflated only when that saves at least a tenth of it;
# --no-compress stores them all as they are.
source "$(dirname "$0")/common.inc"
source "$(dirname "$0")/jar_launcher.inc"
source "$(dirname "$0")/compressed_jars.inc"

"$LXPACK" create --main-jar app/app.jar --class-path extra.jar --java 17+ --cli --compress -o app.bin 2>/dev/null ||
  fail "lxpack create --compress failed"
for jar in app/app.jar app/lib/helper.jar extra.jar; do
  name=$(basename "$jar")
  expect_eq "$name: flag and size unpacked" "3 $(file_size "$jar")" \
    "$(entry_field app.bin "$name" 6) $(entry_field app.bin "$name" 8)"
  # The table: the stored length, the offset, and the size unpacked.
  expect_contains "$name in the table" \
    "$(entry_field app.bin "$name" 4) $(entry_field app.bin "$name" 5) $(entry_field app.bin "$name" 9) $name (deflated: $(file_size "$jar") bytes unpacked)" \
    "$("$LXPACK" list app.bin | tr -s ' ')"
done
length=$(entry_field app.bin app.jar 4)
[ "$length" -lt $(($(file_size app/app.jar) / 2)) ] || fail "app.jar was not deflated: $length bytes stored"
expect_eq "lxpack check" "app.bin: OK, x86_64, 7 entries" "$("$LXPACK" check app.bin)"

run out ./app.bin
expect_eq "the program's output ($(cat "$T/.stderr"))" "$expected_output" "$out"
expect_eq "status" 0 "$status"
expect_clean_tmp "the run"

mkdir unpacked
(cd unpacked && ../app.bin -lx:extract >/dev/null) || fail "-lx:extract failed"
for jar in app/app.jar app/lib/helper.jar extra.jar; do
  cmp -s "$jar" "unpacked/$(basename "$jar")" || fail "-lx:extract did not give back $jar as it was"
done
mkdir lxpack-unpacked
"$LXPACK" extract -C lxpack-unpacked app.bin app.jar || fail "lxpack extract failed"
cmp -s app/app.jar lxpack-unpacked/app.jar || fail "lxpack extract did not give back app.jar as it was"

# The default: the jar of text stored without compression is deflated; a
# jar of random bytes, which deflating cannot make smaller, is not.
head -c 300000 /dev/urandom > classes/extra/noise.bin
jar --create --file extra.jar -C classes/extra .
"$LXPACK" create --main-jar app/app.jar --class-path extra.jar --java 17+ --cli -o default.bin 2>/dev/null ||
  fail "lxpack create failed"
expect_eq "by default: app.jar, extra.jar" "3 0" \
  "$(entry_field default.bin app.jar 6) $(entry_field default.bin extra.jar 6)"
run out ./default.bin
expect_eq "the default launcher's output" "$expected_output" "$out"

"$LXPACK" create --main-jar app/app.jar --class-path extra.jar --java 17+ --cli --no-compress -o plain.bin \
  2>/dev/null || fail "lxpack create --no-compress failed"
expect_eq "--no-compress: app.jar, helper.jar, extra.jar" "0 0 0" \
  "$(entry_field plain.bin app.jar 6) $(entry_field plain.bin helper.jar 6) $(entry_field plain.bin extra.jar 6)"
expect_eq "--no-compress: stored length of app.jar" "$(file_size app/app.jar)" "$(entry_field plain.bin app.jar 4)"
expect_clean_tmp "lxpack create"
