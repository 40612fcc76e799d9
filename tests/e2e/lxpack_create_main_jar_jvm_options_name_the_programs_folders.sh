#!/usr/bin/env bash
# A --jvm-option may name the unpacked program folder ($APP_DIR) and the
# launcher's folder ($LAUNCHER_DIR): the launcher passes their real paths,
# each option one argument whatever the paths hold (here a temporary
# directory with a blank and a quote, and a launcher's folder with quotes,
# blanks and a dollar), in as many options as the packager writes, as a
# program laid out like Debian's Ant needs (a home whose lib/ holds links
# to jars elsewhere, which --app-dir carries as the jars). $$ is a dollar,
# any other dollar stays as it is (a name like a variable with a warning),
# and $APP_DIR without --app-dir is refused. Run on the real JDK 17.
source "$(dirname "$0")/common.inc"
source "$(dirname "$0")/jar_launcher.inc"
export JAVA_HOME=$(real_jdk 17)
unset JDK_HOME
mkdir -p "$T/tmp dir's"
export TMPDIR="$T/tmp dir's"

# Prints each property given, then the first line of every file in
# ant.library.dir, in name order.
cat > Home.java <<'JAVA'
import java.nio.file.Files;
import java.nio.file.Path;
import java.nio.file.Paths;
import java.util.stream.Stream;

public class Home {
  public static void main(String[] args) throws Exception {
    for (String name : args) System.out.println(name + "=" + System.getProperty(name));
    try (Stream<Path> files = Files.list(Paths.get(System.getProperty("ant.library.dir")))) {
      for (Path file : (Iterable<Path>) files.sorted()::iterator) {
        System.out.println(file.getFileName() + ": " + Files.readAllLines(file).get(0));
      }
    }
  }
}
JAVA
java_jar home.jar Home Home.java

# A home like /usr/share/ant: lib/ holds links into a shared folder of jars.
mkdir -p share/java ant/lib
echo "ant launcher jar" > share/java/ant-launcher.jar
echo "ant jar" > share/java/ant.jar
ln -s ../../share/java/ant.jar ant/lib/ant.jar
ln -s "$T/share/java/ant-launcher.jar" ant/lib/ant-launcher.jar

apps="$T/my \"apps\" \$x 'here'"
mkdir -p "$apps"
"$LXPACK" create --main-jar home.jar --java 17+ --cli --app-dir ant \
  --jvm-option '-Dant.home=$APP_DIR' --jvm-option '-Dant.library.dir=$APP_DIR/lib' \
  --jvm-option '-Dconf=${LAUNCHER_DIR}/conf' --jvm-option '-Dprice=$$5 or Outer$Inner' \
  --jvm-option '-Dhome=$HOME' -o "$apps/ant.bin" 2> warnings.txt || fail "lxpack create ended with $? ($(cat warnings.txt))"
expect_eq "the warning about \$HOME" \
  "lxpack: warning: --jvm-option '-Dhome=\$HOME' passes \$HOME to java as it is: \$APP_DIR and \$LAUNCHER_DIR are the only names replaced (write \$\$ for a dollar)" \
  "$(cat warnings.txt)"

run out "$apps/ant.bin" ant.home ant.library.dir conf price home
expect_eq "status ($(cat "$T/.stderr"))" 0 "$status"
home=$(sed -n 's/^ant.home=//p' <<< "$out")
case "$home" in
  "$TMPDIR"/*/ant) ;;
  *) fail "ant.home is not the unpacked folder in the temporary directory: $out" ;;
esac
expect_eq "the program's output" "ant.home=$home
ant.library.dir=$home/lib
conf=$apps/conf
price=\$5 or Outer\$Inner
home=\$HOME
ant-launcher.jar: ant launcher jar
ant.jar: ant jar" "$out"
expect_clean_tmp "the launcher"

# Without a folder to name, $APP_DIR is a packaging mistake; nothing is
# written.
run out "$LXPACK" create --main-jar home.jar --java 17+ --jvm-option '-Dant.home=$APP_DIR' -o refused.bin
expect_eq "status of \$APP_DIR without --app-dir" 2 "$status"
expect_eq "message of \$APP_DIR without --app-dir" \
  "lxpack: --jvm-option '-Dant.home=\$APP_DIR' names \$APP_DIR, the program's folder, but the launcher carries none: give it with --app-dir DIR (or write \$\$ for a dollar)
Try 'lxpack --help' for more information." "$(cat "$T/.stderr")"
[ ! -e refused.bin ] || fail "lxpack wrote a launcher naming a folder it does not carry"
