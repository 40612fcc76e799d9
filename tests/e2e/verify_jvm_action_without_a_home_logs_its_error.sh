#!/usr/bin/env bash
# The VERIFY_JVM action without a home to verify prints nothing (a calling
# program reads the console as the answer), ends with status 255 and says
# in the log which input keys are missing.
source "$(dirname "$0")/common.inc"
need_lxpack
script_launcher setup.bin "SET S1 = embedded" "SET N1 = @S1@"

printf 'ACTION: VERIFY_JVM\nVERIFY_JVM_FILE: x.jvm\nLOGFILE: %s\n' "$T/verify.log" > verify.tag
run out ./setup.bin -lx:in verify.tag
expect_eq "VERIFY_JVM without home prints nothing" "" "$out"
expect_eq "VERIFY_JVM without home status" 255 "$status"
grep -qx 'ERROR: TO execute the VERIFY_JVM action, you must also provide values in the input file for VERIFY_JVM_FILE and VERIFY_JVM_HOME.' "$T/verify.log" \
  || fail "VERIFY_JVM error not logged"
