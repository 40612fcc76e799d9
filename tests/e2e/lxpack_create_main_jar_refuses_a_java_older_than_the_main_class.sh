#!/usr/bin/env bash
# lxpack reads the class-file version of the main class: a class compiled
# for Java 21 (class file 65) with --java 17+ would fail with
# UnsupportedClassVersionError for every user whose Java is 17, so create
# and init refuse it with status 2, naming the class file and the range,
# and write nothing; so is a multi-release jar whose class is there only
# for a newer Java than the range admits. A range that starts at 21 makes a launcher that runs
# it. The class is compiled by the real JDK 25 for release 21.
source "$(dirname "$0")/common.inc"
source "$(dirname "$0")/jar_launcher.inc"
jdk25=$(real_jdk 25)

mkdir -p src/app classes
cat > src/app/Main.java <<'JAVA'
package app;

public class Main {
  public static void main(String[] args) {
    System.out.println("on Java " + Runtime.version().feature());
  }
}
JAVA
"$jdk25/bin/javac" --release 21 -d classes src/app/Main.java || fail "javac --release 21 failed"
jar --create --file app21.jar --main-class app.Main -C classes . || fail "jar failed"
expect_eq "the class file's version bytes" "0041" "$(od -An -tx1 -j6 -N2 classes/app/Main.class | tr -d ' \n')"
echo previous > app.bin

for command in create init; do
  output=app.bin
  [ $command = init ] && output=files
  run out "$LXPACK" $command --main-jar app21.jar --java 17+ -o $output
  expect_eq "status of $command --java 17+" 2 "$status"
  expect_eq "message of $command --java 17+" "lxpack: app/Main.class needs Java 21 (class file 65); --java 17+ admits 17
Try 'lxpack --help' for more information." "$(cat "$T/.stderr")"
  expect_eq "the launcher after $command" previous "$(cat app.bin)"
  [ ! -e files ] || fail "init wrote $(ls -R files)"
  expect_clean_tmp "$command --java 17+"
done

run out "$LXPACK" create --main-jar app21.jar --java 11-21 -o app.bin
expect_eq "status of --java 11-21" 2 "$status"
expect_contains "message of --java 11-21" "app/Main.class needs Java 21 (class file 65); --java 11-21 admits 11" \
  "$(cat "$T/.stderr")"

# A multi-release jar that holds the class only for Java 21 and newer (a
# class file for 17 there) has nothing for a Java 17 to run either.
mkdir classes17
javac --release 17 -d classes17 src/app/Main.java || fail "javac --release 17 failed"
mkdir -p versioned/META-INF/versions/21
cp -r classes17/app versioned/META-INF/versions/21/
printf 'Multi-Release: true\n' > manifest.txt
jar --create --file versioned.jar --main-class app.Main --manifest manifest.txt -C versioned . || fail "jar failed"
run out "$LXPACK" create --main-jar versioned.jar --java 17+ -o app.bin
expect_eq "status of the multi-release jar" 2 "$status"
expect_contains "message of the multi-release jar" \
  "versioned.jar holds the main class only in META-INF/versions/21/, which Javas before 21 do not read; --java 17+ admits 17" \
  "$(cat "$T/.stderr")"

"$LXPACK" create --main-jar app21.jar --java 21+ --cli -o app.bin || fail "--java 21+ was refused"
run out env JAVA_HOME="$jdk25" ./app.bin
expect_eq "status of the launcher ($(cat "$T/.stderr"))" 0 "$status"
expect_eq "the program's output" "on Java 25" "$out"
