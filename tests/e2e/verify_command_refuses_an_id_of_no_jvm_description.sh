#!/usr/bin/env bash
# VERIFY with the id of an embedded file that is not a JVM description, or
# of no file at all, fails with a message that names the id: a packaging
# mistake, shown as such.
source "$(dirname "$0")/common.inc"
need_lxpack

printf 'INSTRUCTIONS:\n  VERIFY 0 0 0\n/:\n' > other.txt
make_launcher other.bin --id 0 instructions=other.txt >/dev/null
run out ./other.bin
expect_eq "an id of another kind of file" "To verify a JVM, use an index of a jvm file. The index passed in was 0 which corresponds to the file named other.txt" "$out"
expect_eq "status" 255 "$status"

printf 'INSTRUCTIONS:\n  VERIFY 0 0 9\n/:\n' > missing.txt
make_launcher missing.bin instructions=missing.txt >/dev/null
run out ./missing.bin
expect_eq "an id that does not exist" "Cannot verify jvm file at index 9 because it does not exist." "$out"
expect_eq "an id that does not exist: status" 255 "$status"
