#!/usr/bin/env bash
# lxpack create puts the program first, then each file without gaps in the
# order given, then the index and the trailer, as the launcher reads them;
# list --porcelain shows it for scripts, with each file's CRC-32C, and
# check accepts it.
source "$(dirname "$0")/common.inc"
source "$(dirname "$0")/packed_layout.inc"

crc() { python3 -c 'import sys
c = 0xFFFFFFFF
for b in open(sys.argv[1], "rb").read():
    c ^= b
    for _ in range(8): c = (c >> 1) ^ (0x82F63B78 & -(c & 1))
print("%08x" % (c ^ 0xFFFFFFFF))' "$1"; }
expect_eq "porcelain list" "kind	3
arch	$(uname -m)
entry	0	0	33	$p	0	0	0	$(crc instr.txt)	instr.txt
entry	6	7	1000	$((p + 33))	1	12	34567	$(crc app.jar)	Application.jar
entry	1	-1	18	$((p + 1033))	0	0	0	$(crc a.jvm)	a.jvm" "$("$LXPACK" list --porcelain setup.bin)"
# count, three entries (fixed fields 16 bytes each + name + flag), the
# compressed pair, the trailer.
expect_eq "file size" $((i + 4 + 3 * 16 + 9 + 15 + 5 + 8 + 9)) "$(file_size setup.bin)"
cmp -n "$p" stub setup.bin || fail "the program is not at the start"
cmp -i "$((p + 33)):0" -n 1000 setup.bin app.jar || fail "app.jar is not at its offset"
expect_eq "trailer" "03 $(printf '%08x' "$i" | sed 's/../& /g')ca 82 ca 82 " \
  "$(tail -c 9 setup.bin | od -An -tx1 | tr -s ' \n' ' ' | sed 's/^ //')"
expect_eq "check" "setup.bin: OK, $(uname -m), 3 entries" "$("$LXPACK" check setup.bin)"
