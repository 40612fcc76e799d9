#!/usr/bin/env bash
# The console names a description's verification once, however many of its
# candidates are tried, and not for candidates that are not there.
source "$(dirname "$0")/common.inc"
demo=$LX_BUILD_DIR/demo/setup.bin
[ -x "$demo" ] || fail "the demo launcher was not built: $demo"
jdk=$(find_jdk)
mkdir tmp
export TMPDIR=$T/tmp
unset JDK_HOME
export JAVA_HOME="/nonexistent/a:/nonexistent/b:$jdk"

set +e
"$demo" < /dev/null > console.txt 2>&1
status=$?
set -e
expect_eq "demo status" 0 "$status"
expect_eq "verifying steps of the first description" 1 "$(grep -cxF 'Verifying Java 17 or newer' console.txt)"
repeated=$(grep '^Verifying ' console.txt | sort | uniq -d)
[ -z "$repeated" ] || fail "shown more than once: $repeated"
