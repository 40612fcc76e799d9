#!/usr/bin/env bash
# The SEARCH action answers on standard output, even in silent mode: 1, the
# home found and a written JVM description that outlives the launcher, so
# that the calling program can hand it on. Nothing else is left behind.
source "$(dirname "$0")/common.inc"
source "$(dirname "$0")/discovery.inc"
matching_description match.jvm

printf 'ACTION: SEARCH\nJVM: %s\n' "$T/match.jvm" > search.tag
run out ./setup.bin -lx:silent -lx:in search.tag
expect_eq "SEARCH status" 0 "$status"
IFS=$'\n' read -r -d '' found home file <<< "$out" || true
expect_eq "SEARCH found" 1 "$found"
expect_eq "SEARCH home" "$jdk" "$home"
[ -f "$file" ] || fail "the written description $file did not outlive the launcher"
grep -qx "JVM_HOME:  $jdk" "$file" || fail "JVM_HOME missing in $file"
grep -qx "JVM_FILE:  $file" "$file" || fail "JVM_FILE missing in $file"
grep -qx "JVM_TEMP:  0" "$file" || fail "JVM_TEMP missing in $file"
grep -qx "DESC:  Matching JDK" "$file" || fail "the description's own tags missing in $file"
rm -f "$file"
[ -z "$(ls -A tmp)" ] || fail "temporary files left behind: $(ls -A tmp)"
