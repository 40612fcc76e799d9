#!/usr/bin/env bash
# A SEARCH whose JVM description cannot be written (the temporary directory
# is full) gives no answer, rather than 1 and the name of an empty file: the
# log names the file and the system's reason, and no file is left.
source "$(dirname "$0")/common.inc"
source "$(dirname "$0")/discovery.inc"
matching_description match.jvm
# One page: room for the verification archive, none for the description.
mount_tmpfs small size=4k
export TMPDIR=$T/small LX_JVM_CACHE=0

printf 'ACTION: SEARCH\nLOGFILE: %s\nJVM: %s\n' "$T/log.txt" "$T/match.jvm" > search.tag
run out ./setup.bin -lx:silent -lx:in search.tag
expect_eq "answer" "" "$out"
grep -q "^Found matching JVM at $jdk\$" log.txt || fail "the search found no JVM: $(cat log.txt)"
grep -q "^ERROR: Unable to write $T/small/.*: No space left on device\$" log.txt ||
  fail "the log does not name the write error: $(tail -5 log.txt)"
expect_eq "files left" "" "$(ls -A small)"
