#!/usr/bin/env bash
# A launcher for a command-line program (its launch script sets
# MESSAGES_TO_STDERR, DISPLAY_CONSOLE and AUTO_SET_WORKING_DIR: 0): standard
# output carries the program's own bytes and nothing else, the launcher's
# title, status lines, dots and messages go to standard error, a relative
# file argument is found from where the user runs it, and the status is the
# program's. Run with a real JDK.
source "$(dirname "$0")/common.inc"
need_lxpack
jdk=$(find_jdk)
mkdir tmp
export TMPDIR=$T/tmp

# A cat in Java: copies the file named by its first argument (standard input
# without one) to standard output and ends with the status its second
# argument gives.
cat > Cat.java <<'JAVA'
import java.io.InputStream;
import java.nio.file.Files;
import java.nio.file.Paths;

public class Cat {
  public static void main(String[] args) throws Exception {
    try (InputStream in = args.length > 0 ? Files.newInputStream(Paths.get(args[0])) : System.in) {
      in.transferTo(System.out);
    }
    System.out.flush();
    System.exit(args.length > 1 ? Integer.parseInt(args[1]) : 0);
  }
}
JAVA
printf 'DESC: Java\nJVM_EXE: bin/java\nCLASSPATH: "-cp "\nJVM_PROPERTIES:\n  java.vendor=...\n/:\nPATH_HINT:\n  %s\n/:\n' "$jdk" > java.jvm
printf 'DESC: None\nJVM_EXE: bin/java\nCLASSPATH: "-cp "\nJVM_PROPERTIES:\n  java.specification.version=0.9\n/:\nPATH_HINT:\n  /nonexistent\n/:\n' > none.jvm
cat > launch.txt <<'SCRIPT'
DESC: Cat
MESSAGES_TO_STDERR: 1
DISPLAY_CONSOLE: 1
AUTO_SET_WORKING_DIR: 0
COMMAND: exec "@JVM_HOME@/@JVM_EXE@" "%APPLICATION_ARCHIVE%()"
SCRIPT
printf 'INSTRUCTIONS:\n  INITIALIZE_UI\n  FIND_JVM 1 1\n  JMP0 @N1@ DONE\n  LAUNCH @S2@ 0\n  :DONE\n/:\n' > instructions.txt
make_launcher cat.bin verify="$LX_BUILD_DIR/Verify.jar" instructions=instructions.txt launch-script=launch.txt \
  jvm=java.jvm application=Cat.java >/dev/null

# Bytes of every value, line ends and NULs among them.
head -c 300000 /dev/urandom > data.bin

set +e
./cat.bin < data.bin > out.bin 2> err.txt
status=$?
set -e
expect_eq "status from standard input (standard error: $(cat err.txt))" 0 "$status"
cmp data.bin out.bin || fail "standard output is not the program's own bytes (standard error: $(cat err.txt))"
grep -qxF "Cat" err.txt || fail "the title is not on standard error: $(cat err.txt)"
grep -qxF "Searching for Java(tm) Virtual Machine..." err.txt || fail "the status is not on standard error: $(cat err.txt)"

mkdir work
cp data.bin work/relative.bin
cd work
set +e
../cat.bin relative.bin 3 > ../out2.bin 2> ../err2.txt
status=$?
set -e
cd ..
expect_eq "status from a relative file argument (standard error: $(cat err2.txt))" 3 "$status"
cmp data.bin out2.bin || fail "a relative file argument was not read from the directory the user is in"

printf 'ACTION: RUN_INSTRUCTIONS\nJVM: %s\n' "$T/none.jvm" > none.tag
set +e
./cat.bin -lx:in none.tag < data.bin > out3.bin 2> err3.txt
status=$?
set -e
expect_eq "status without a JVM" 69 "$status"
[ ! -s out3.bin ] || fail "standard output holds launcher text: $(cat out3.bin)"
grep -qxF "A suitable JVM could not be found. Please run the installer again using the option -lx:javahome <JAVA HOME DIR>" err3.txt ||
  fail "the failure is not on standard error: $(cat err3.txt)"
[ -z "$(ls -A tmp)" ] || fail "temporary files left behind: $(ls -A tmp)"
