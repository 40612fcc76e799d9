#!/usr/bin/env bash
# The VERIFY_JVM action checks one home against one description and answers
# 1 when it matches, 0 when it does not.
source "$(dirname "$0")/common.inc"
source "$(dirname "$0")/discovery.inc"
matching_description match.jvm
unmatched_description nomatch.jvm

printf 'ACTION: VERIFY_JVM\nVERIFY_JVM_FILE: %s\nVERIFY_JVM_HOME: %s\n' "$T/match.jvm" "$jdk" > verify.tag
run out ./setup.bin -lx:in verify.tag
expect_eq "VERIFY_JVM of a matching home" "1" "$out"
printf 'ACTION: VERIFY_JVM\nVERIFY_JVM_FILE: %s\nVERIFY_JVM_HOME: %s\n' "$T/nomatch.jvm" "$jdk" > verify0.tag
run out ./setup.bin -lx:in verify0.tag
expect_eq "VERIFY_JVM of a home that does not match" "0" "$out"
