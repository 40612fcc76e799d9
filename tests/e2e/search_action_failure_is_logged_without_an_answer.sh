#!/usr/bin/env bash
# A failure inside the SEARCH action gives no answer line and no console
# message (the calling program would take either for an answer), but the
# log says what went wrong: here an unquoted verification class path, which
# the launch script's argument reader refuses.
source "$(dirname "$0")/common.inc"
source "$(dirname "$0")/discovery.inc"
matching_description match.jvm

printf 'ACTION: SEARCH\nJVM: %s\nVERIFY_CLASSPATH: /x.jar\nVERIFY_CLASS_NAME: Verify\nLOGFILE: %s\n' "$T/match.jvm" "$T/search.log" > broken.tag
run out ./setup.bin -lx:in broken.tag
expect_eq "no answer after a failure" "" "$out"
expect_eq "status after a failed search" 0 "$status"
grep -q '^ERROR: Launch script error: Expected string arg. (near character' search.log || fail "the failure is not in the log: $(cat search.log)"
