#!/usr/bin/env bash
# The JVM description lxpack makes from --java goes through the same check
# as one written by hand, so a range the launcher could not read is refused
# before anything is written: with status 2 (it came from the command
# line), naming java.jvm and not the temporary directory it waited in, with
# nothing left there; init writes no file and leaves no directory.
source "$(dirname "$0")/common.inc"
source "$(dirname "$0")/jar_launcher.inc"

mkdir src
printf 'public class Main { public static void main(String[] a) {} }\n' > src/Main.java
java_jar app.jar Main src/Main.java
printf 'INSTRUCTIONS:\n  FIND_JVM 0 1\n/:\n' > instructions.txt
printf 'JVM_EXE: bin/java\nJAVA_VERSION: 1x\nJVM_PROPERTIES:\n  java.version=...\n/:\n' > bad.jvm
if "$LXPACK" create -o probe.bin verify="$LX_BUILD_DIR/Verify.jar" instructions=instructions.txt jvm=bad.jvm \
  2> /dev/null; then
  skip "this lxpack does not read JAVA_VERSION in JVM descriptions"
fi
echo previous > setup.bin

for range in 1x 21-17 '17 +'; do
  for command in create init; do
    output=setup.bin
    [ $command = init ] && output=files
    status=0
    "$LXPACK" $command --main-jar app.jar --java "$range" -o $output > out.txt 2> err.txt || status=$?
    expect_eq "status of $command --java '$range'" 2 "$status"
    expect_contains "the reason of $command --java '$range'" "java.jvm" "$(cat err.txt)"
    expect_contains "the option of $command --java '$range'" \
      "lxpack: --java $range is no range of Java versions the launcher can read" "$(cat err.txt)"
    case "$(cat err.txt)" in *"$TMPDIR"*) fail "the message names the temporary directory: $(cat err.txt)" ;; esac
    expect_eq "output of $command --java '$range'" previous "$(cat setup.bin)"
    [ ! -e files ] || fail "init --java '$range' left $(ls -R files)"
    expect_clean_tmp "$command --java '$range'"
  done
done
