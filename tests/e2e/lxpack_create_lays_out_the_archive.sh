#!/usr/bin/env bash
# lxpack create puts the program first, then each file without gaps in the
# order given, then the index and the trailer; list shows it, for people and
# for scripts; the output keeps the program's mode.
source "$(dirname "$0")/common.inc"
need_lxpack

cp "$LXLAUNCHER" stub
chmod 750 stub
printf 'INSTRUCTIONS:\n  INITIALIZE_UI\n/:\n' > instr.txt
head -c 1000 /dev/urandom > app.jar
printf 'JVM_EXE: bin/java\n' > a.jvm

"$LXPACK" create -s stub -o setup.bin --kind 3 \
  instructions=instr.txt \
  --id 7 --name Application.jar --compressed 12,34567 6=app.jar \
  --id -1 jvm=a.jvm || fail "create failed"

expect_eq "mode" 750 "$(stat -c %a setup.bin)"
p=$(file_size stub)
i=$((p + 33 + 1000 + 18))
expect_eq "porcelain list" "kind	3
arch	$(uname -m)
entry	0	0	33	$p	0	0	0	instr.txt
entry	6	7	1000	$((p + 33))	1	12	34567	Application.jar
entry	1	-1	18	$((p + 1033))	0	0	0	a.jvm" "$("$LXPACK" list --porcelain setup.bin)"
# count, three entries (fixed fields 16 bytes each + name + flag), the
# compressed pair, the trailer.
expect_eq "file size" $((i + 4 + 3 * 16 + 9 + 15 + 5 + 8 + 9)) "$(file_size setup.bin)"
cmp -n "$p" stub setup.bin || fail "the program is not at the start"
cmp -i "$((p + 33)):0" -n 1000 setup.bin app.jar || fail "app.jar is not at its offset"
expect_eq "trailer" "03 $(printf '%08x' "$i" | sed 's/../& /g')ca 82 ca 82 " \
  "$(tail -c 9 setup.bin | od -An -tx1 | tr -s ' \n' ' ' | sed 's/^ //')"

listing=$("$LXPACK" list setup.bin)
expect_contains "list" "launcher kind: 3" "$listing"
expect_contains "list" "architecture: $(uname -m)" "$listing"
expect_contains "list" "file index at byte $i, 3 entries" "$listing"
expect_contains "list" "Application.jar  (compressed: 12 files, 34567 bytes)" "$listing"
expect_eq "check" "setup.bin: OK, $(uname -m), 3 entries" "$("$LXPACK" check setup.bin)"
