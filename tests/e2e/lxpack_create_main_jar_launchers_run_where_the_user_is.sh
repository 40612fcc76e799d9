#!/usr/bin/env bash
# A launcher made with lxpack create --main-jar, for a desktop program or
# (--cli) a command-line one, runs the program in the folder the user
# started it from, also when started through a link in a PATH folder, so a
# relative file name on its command line is the user's file; its standard
# output is the program's alone, and a wizard's title and status lines come
# on standard error (as does the title given to a --cli launcher). A launch script edited by hand to
# AUTO_SET_WORKING_DIR: 1 still runs the program in the launcher's folder.
# Run on the real JDK 17.
source "$(dirname "$0")/common.inc"
source "$(dirname "$0")/jar_launcher.inc"
export JAVA_HOME=$(real_jdk 17)
unset JDK_HOME

# Prints its working directory, then the first line of the file named.
cat > Where.java <<'JAVA'
import java.nio.file.Files;
import java.nio.file.Paths;

public class Where {
  public static void main(String[] args) throws Exception {
    System.out.println("in " + System.getProperty("user.dir"));
    System.out.println("read " + Files.readAllLines(Paths.get(args[0])).get(0));
  }
}
JAVA
java_jar where.jar Where Where.java
mkdir -p apps bin "work dir"
echo "the launcher's folder" > apps/notes.txt
echo "the user's own notes" > "work dir/notes.txt"
"$LXPACK" create --main-jar where.jar --java 17+ --title "Where Tool" -o apps/where.bin ||
  fail "lxpack create --main-jar ended with $?"
"$LXPACK" create --main-jar where.jar --java 17+ --cli --title "Where CLI" -o apps/where-cli.bin ||
  fail "lxpack create --main-jar --cli ended with $?"
ln -s ../apps/where.bin bin/where
ln -s ../apps/where-cli.bin bin/where-cli

want="in $T/work dir
read the user's own notes"
for started in "../apps/where.bin" "$T/apps/where.bin" "where" "../apps/where-cli.bin" "where-cli"; do
  set +e
  (cd "work dir" && PATH="$T/bin:$PATH" $started notes.txt) > out.txt 2> err.txt
  status=$?
  set -e
  expect_eq "status started as $started (error output: $(cat err.txt))" 0 "$status"
  expect_eq "standard output started as $started" "$want" "$(cat out.txt)"
  case "$started" in
    # A title given to a command-line program's launcher is its one line.
    *cli*) expect_eq "standard error of the --cli launcher started as $started" "Where CLI" "$(cat err.txt)" ;;
    *)
      expect_eq "the title on standard error started as $started" "Where Tool" "$(head -n 1 err.txt)"
      grep -qxF "Searching for Java(tm) Virtual Machine..." err.txt ||
        fail "no status line on standard error started as $started: $(cat err.txt)"
      ;;
  esac
done
expect_clean_tmp "the launchers"

# Hand-written launch scripts keep the key as they say it.
"$LXPACK" init --main-jar where.jar --java 17+ -o files > /dev/null
sed -i 's/^AUTO_SET_WORKING_DIR: 0$/AUTO_SET_WORKING_DIR: 1/' files/launch.txt
grep -qxF "AUTO_SET_WORKING_DIR: 1" files/launch.txt || fail "init wrote no AUTO_SET_WORKING_DIR: 0: $(cat files/launch.txt)"
"$LXPACK" create -o apps/edited.bin verify=files/Verify.jar instructions=files/instructions.txt \
  launch-script=files/launch.txt jvm=files/java.jvm application=where.jar
(cd "work dir" && ../apps/edited.bin notes.txt) > out.txt 2> err.txt || fail "the hand-edited launcher ended with $? ($(cat err.txt))"
expect_eq "the hand-edited launcher's folder" "in $T/apps
read the launcher's folder" "$(cat out.txt)"
