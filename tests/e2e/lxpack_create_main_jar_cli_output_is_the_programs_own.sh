#!/usr/bin/env bash
# lxpack create --main-jar --cli makes a launcher for a command-line program
# that behaves like the program itself: standard output carries exactly the
# program's bytes and a successful run writes nothing else anywhere (no
# title, status lines or dots), arguments reach it byte for byte, relative
# file names are found from the user's working directory, its status is the
# launcher's, and nothing stays in the temporary directory. The Java
# versions come from JAVA_HOME; run on the real JDKs 17 and 25.
source "$(dirname "$0")/common.inc"
source "$(dirname "$0")/jar_launcher.inc"
jdk17=$(real_jdk 17)
jdk25=$(real_jdk 25)

# args: each argument followed by a NUL; version: the Java version; a file
# name: the file's bytes; nothing: standard input. Ends with status 5, or
# 0 after copying.
cat > Tool.java <<'JAVA'
import java.io.InputStream;
import java.io.PrintStream;
import java.nio.file.Files;
import java.nio.file.Paths;

public class Tool {
  public static void main(String[] args) throws Exception {
    PrintStream out = System.out;
    if (args.length > 0 && args[0].equals("args")) {
      for (int i = 1; i < args.length; ++i) {
        out.write(args[i].getBytes("UTF-8"));
        out.write(0);
      }
      out.flush();
      System.exit(5);
    }
    if (args.length > 0 && args[0].equals("version")) {
      out.print(System.getProperty("java.version"));
      out.flush();
      return;
    }
    try (InputStream in = args.length > 0 ? Files.newInputStream(Paths.get(args[0])) : System.in) {
      in.transferTo(out);
    }
    out.flush();
  }
}
JAVA
java_jar tool.jar Tool Tool.java
"$LXPACK" create --main-jar tool.jar --java 17+ --cli -o tool.bin || fail "lxpack create --main-jar --cli ended with $?"
expect_eq "lxpack check" "tool.bin: OK, x86_64, 5 entries" "$("$LXPACK" check tool.bin)"
expect_clean_tmp "lxpack create"

head -c 200000 /dev/urandom > data.bin
mkdir work
cp data.bin work/relative.bin
args=('two  words' ' lead and trail ' 'say "hi"' "it's" '$HOME $(date) `date`' 'back\slash\' '*' '50% @x@ #y#'
  $'line\nbreak' '' '-lx:not-ours')
for jdk in "$jdk17" "$jdk25"; do
  version=$(sed -n 's/^JAVA_VERSION="\(.*\)"$/\1/p' "$jdk/release")
  export JAVA_HOME=$jdk
  expect_eq "the Java that ran" "$version" "$(./tool.bin version)"

  set +e
  ./tool.bin < data.bin > out.bin 2> err.txt
  status=$?
  set -e
  expect_eq "status copying standard input on $jdk (error output: $(cat err.txt))" 0 "$status"
  cmp -s data.bin out.bin || fail "standard output is not the program's bytes on $jdk"
  [ ! -s err.txt ] || fail "the launcher wrote to standard error on $jdk: $(cat err.txt)"

  set +e
  (cd work && ../tool.bin relative.bin > ../out2.bin 2> ../err2.txt)
  status=$?
  set -e
  expect_eq "status on a relative file on $jdk (error output: $(cat err2.txt))" 0 "$status"
  cmp -s data.bin out2.bin || fail "the relative file was not read from the user's directory on $jdk"
  [ ! -s err2.txt ] || fail "the launcher wrote to standard error on $jdk: $(cat err2.txt)"

  set +e
  ./tool.bin args "${args[@]}" > args.out 2> err3.txt
  status=$?
  set -e
  expect_eq "the program's status on $jdk (error output: $(cat err3.txt))" 5 "$status"
  printf '%s\0' "${args[@]}" > args.want
  cmp -s args.want args.out || fail "the arguments changed on their way on $jdk: $(od -c args.out | head -20)"
  expect_clean_tmp "the launcher on $jdk"
done

# Without a Java of the range (none on PATH, none that new anywhere) nothing
# reaches standard output, the launcher's message goes to standard error,
# and the status says that no Java was found.
"$LXPACK" create --main-jar tool.jar --java 99+ --cli -o tool99.bin
mkdir empty
set +e
env -u JAVA_HOME -u JDK_HOME PATH="$T/empty" ./tool99.bin < data.bin > out4.bin 2> err4.txt
status=$?
set -e
expect_eq "status without a matching Java" 69 "$status"
[ ! -s out4.bin ] || fail "standard output holds more than the program's bytes: $(head -c 300 out4.bin)"
[ -s err4.txt ] || fail "no message on standard error without a matching Java"
expect_clean_tmp "the launcher without a matching Java"
