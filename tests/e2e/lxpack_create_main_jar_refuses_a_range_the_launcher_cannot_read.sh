#!/usr/bin/env bash
# A --java range the launcher could not read is refused before anything is
# written, with status 2 (it came from the command line) and in lxpack's
# own words about the option: the forms to write, or the range turned the
# right way round; not in words about a JVM description the packager never
# wrote. Nothing is left in the temporary directory; init writes no file
# and leaves no directory.
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

# range|what lxpack says of it
cases=(
  "1x|--java '1x' is no range of Java versions: write 17+, 17 or 11-21"
  ">=17|--java '>=17' is no range of Java versions: write 17+, 17 or 11-21"
  "17 +|--java '17 +' is no range of Java versions: write 17+, 17 or 11-21"
  "21-17|--java 21-17 ends before it starts: write 17-21"
)
for c in "${cases[@]}"; do
  range=${c%%|*}
  for command in create init; do
    output=setup.bin
    [ $command = init ] && output=files
    status=0
    "$LXPACK" $command --main-jar app.jar --java "$range" -o $output > out.txt 2> err.txt || status=$?
    expect_eq "status of $command --java '$range'" 2 "$status"
    expect_eq "the reason of $command --java '$range'" "lxpack: ${c#*|}
Try 'lxpack --help' for more information." "$(cat err.txt)"
    expect_eq "output of $command --java '$range'" previous "$(cat setup.bin)"
    [ ! -e files ] || fail "init --java '$range' left $(ls -R files)"
    expect_clean_tmp "$command --java '$range'"
  done
done
