#!/usr/bin/env bash
# lxpack check passes a good launcher and names what is wrong with damaged
# ones, with exit status 1.
source "$(dirname "$0")/common.inc"
need_lxpack

printf 'INSTRUCTIONS:\n  INITIALIZE_UI\n/:\n' > instr.txt
printf 'DESC: Product\n' > launch.txt
head -c 5000 /dev/urandom > app.jar
make_launcher good.bin instructions=instr.txt launch-script=launch.txt application=app.jar
size=$(file_size good.bin)
index=$(tail -c 8 good.bin | head -c 4 | od -An -tu1 | awk '{print $1*16777216 + $2*65536 + $3*256 + $4}')
p=$(file_size "$LXLAUNCHER")

# check_fails NAME EXPECTED-LINE: check of NAME exits 1 and prints the line.
check_fails() {
  local out status=0
  out=$("$LXPACK" check "$1") || status=$?
  expect_eq "exit status of check $1" 1 "$status"
  expect_contains "check $1" "$2" "$out"
}

expect_eq "good" "good.bin: OK, $(uname -m), 3 entries" "$("$LXPACK" check good.bin)"

head -c $((size - 1)) good.bin > cut.bin
check_fails cut.bin "cut.bin: no archive: the file does not end with the identification value 0xCA82CA82"

cp good.bin foreign.bin
# The program in front is no longer an ELF program: what starts, if anything,
# is not the launcher.
put_bytes foreign.bin 1 'X'
check_fails foreign.bin "foreign.bin: not a launcher: the file does not start with a launcher program for x86_64 or aarch64"

cp good.bin long.bin
# Length of the application entry (the third) made larger than the file.
put_bytes long.bin $((index + 4 + 2 * 16 + 9 + 10 + 5)) '\177'
check_fails long.bin "long.bin: entry 2 (app.jar): its data end at byte"

cp good.bin type.bin
put_bytes type.bin $((index + 4)) '\011'
check_fails type.bin "type.bin: file index at byte $index: Invalid file type in file index. (0 entries read)"

cp good.bin damaged.bin
# "INSTRUCTIONS:" loses its colon: the checksum tells the damage first.
put_bytes damaged.bin $((p + 12)) 'X'
check_fails damaged.bin "damaged.bin: entry 0 (instr.txt): its bytes do not match their checksum (recorded "
expect_contains "damaged: the launcher's refusal" "the file is damaged (the launcher refuses it)" "$("$LXPACK" check damaged.bin)"

# Without checksums (another writer's launcher) the launcher's own syntax
# error shows.
make_launcher plain.bin --no-checksums instructions=instr.txt launch-script=launch.txt application=app.jar 2>/dev/null
cp plain.bin syntax.bin
put_bytes syntax.bin $((p + 12)) 'X'
check_fails syntax.bin "syntax.bin: entry 0 (instr.txt): Syntax error in instr.txt at line 1 ==> Missing colon at the end of the tag name."

cp good.bin name.bin
# The first letter of the third name: count, two entries of 16 bytes plus
# their names, then 15 bytes of fixed fields.
put_bytes name.bin $((index + 4 + 16 + 9 + 16 + 10 + 15)) "/"
check_fails name.bin "name.bin: entry 2 (/pp.jar): an embedded file name must not be empty"

status=0
"$LXPACK" check "$LXLAUNCHER" > /dev/null || status=$?
expect_eq "a bare program has no archive" 1 "$status"
status=0
"$LXPACK" check missing.bin 2> err.txt || status=$?
expect_eq "missing file" 1 "$status"
expect_eq "missing file message" "lxpack: cannot open missing.bin: No such file or directory" "$(cat err.txt)"
