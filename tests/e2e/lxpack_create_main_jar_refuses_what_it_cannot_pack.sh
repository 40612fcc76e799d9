#!/usr/bin/env bash
# lxpack create --main-jar (and init, which reads the same options) refuses
# a command line it cannot make a working launcher from with status 2 and a
# message that says what to do: a jar whose manifest names no main class, a
# main class that is not in the jars, a jar that cannot be read or is no
# jar, a missing --java, options of the other form or none at all. An
# existing output stays as it was, and nothing is left in the temporary
# directory.
source "$(dirname "$0")/common.inc"
source "$(dirname "$0")/jar_launcher.inc"

main_source
java_jar app.jar Main src/Main.java
java_jar nomain.jar "" src/Main.java
echo 'not a jar' > text.jar
mkdir dir.jar
cp app.jar unreadable.jar
chmod 000 unreadable.jar
echo previous > setup.bin

# refused STATUS MESSAGE ARGS...: both commands end with STATUS, print
# MESSAGE, and write nothing.
refused() {
  local want=$1 line=$2 command status
  shift 2
  for command in create init; do
    status=0
    "$LXPACK" $command "$@" 2> err.txt > out.txt || status=$?
    expect_eq "status of $command $*" "$want" "$status"
    expect_contains "message of $command $*" "$line" "$(cat err.txt)"
    expect_eq "output of $command $*" previous "$(cat setup.bin)"
    [ ! -e files ] || fail "$command $* wrote files"
    expect_clean_tmp "$command $*"
  done
}

refused 2 "lxpack: nomain.jar names no main class (its manifest has no Main-Class): give one with --main-class CLASS" \
  --main-jar nomain.jar --java 17+ -o setup.bin
refused 2 "lxpack: the main class com.example.Gone is not in app.jar (no class file com/example/Gone.class)" \
  --main-jar app.jar --main-class com.example.Gone --java 17+ -o setup.bin
refused 2 "lxpack: the main class Other is not in app.jar nor in a --class-path jar (no class file Other.class)" \
  --main-jar app.jar --main-class Other --class-path nomain.jar --java 17+ -o setup.bin
refused 2 "lxpack: cannot open missing.jar: No such file or directory (given as --main-jar)" \
  --main-jar missing.jar --java 17+ -o setup.bin
refused 2 "lxpack: text.jar is not a jar: it is no zip file (too short) (given as --main-jar)" \
  --main-jar text.jar --java 17+ -o setup.bin
refused 2 "lxpack: dir.jar is a directory, not a jar (given as --main-jar)" --main-jar dir.jar --java 17+ -o setup.bin
refused 2 "lxpack: cannot open missing.jar: No such file or directory (given as --class-path)" \
  --main-jar app.jar --class-path missing.jar --java 17+ -o setup.bin
if [ "$(id -u)" != 0 ]; then
  refused 2 "lxpack: cannot open unreadable.jar: Permission denied (given as --main-jar)" \
    --main-jar unreadable.jar --java 17+ -o setup.bin
fi
refused 2 "lxpack: missing --java RANGE: the Java versions the program runs on, such as 17+" \
  --main-jar app.jar -o setup.bin
refused 2 "lxpack: --main-jar needs a value that is not empty" --main-jar= --java 17+ -o setup.bin
refused 2 "lxpack: missing --main-jar JAR" --main-class Main --java 17+ -o setup.bin
refused 2 "lxpack: missing --main-jar JAR: the program's jar (to pack app.jar, give --main-jar app.jar)" \
  --java 17+ -o setup.bin app.jar
refused 2 "lxpack: --jvm-option cannot hold a line break" --main-jar app.jar --java 17+ --jvm-option $'-Da=1\n-Db=2' \
  -o setup.bin
refused 2 "lxpack: unknown option --force" --main-jar app.jar --java 17+ --force -o setup.bin
refused 2 "lxpack: unexpected 'application=app.jar': with --main-jar lxpack makes every file of the launcher itself" \
  --main-jar app.jar --java 17+ -o setup.bin application=app.jar
refused 2 "lxpack: option --java needs a value" --main-jar app.jar -o setup.bin --java
refused 2 "Try 'lxpack --help' for more information." --main-jar app.jar -o setup.bin
