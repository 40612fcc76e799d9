#!/usr/bin/env bash
# An installed lxpack (the program and the launcher program copied to a
# directory of their own, nothing of the build tree beside them) makes a
# working launcher from a jar: it carries the verification jar in its own
# program, the very bytes the build made.
source "$(dirname "$0")/common.inc"
source "$(dirname "$0")/jar_launcher.inc"
export JAVA_HOME=$(real_jdk 17)

mkdir -p installed/bin src
cp "$LXPACK" installed/bin/lxpack
cp "$LXLAUNCHER" installed/bin/lxlauncher
printf 'public class Hi { public static void main(String[] a) { System.out.println("hi " + a[0]); } }\n' > src/Hi.java
java_jar hi.jar Hi src/Hi.java

installed/bin/lxpack create --main-jar hi.jar --java 17+ --cli -o hi.bin || fail "the installed lxpack failed"
expect_eq "what the launcher runs" "hi there" "$(./hi.bin there)"
mkdir entries
installed/bin/lxpack extract -C entries hi.bin Verify.jar
cmp -s "$LX_BUILD_DIR/Verify.jar" entries/Verify.jar || fail "the verification jar lxpack carries is not the build's"
expect_clean_tmp "the installed lxpack and its launcher"
