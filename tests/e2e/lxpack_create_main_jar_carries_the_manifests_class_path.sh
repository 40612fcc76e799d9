#!/usr/bin/env bash
# The jars a main jar's manifest names in its Class-Path (relative to the
# jar's folder, as java resolves them, %20 for a blank, and the jars those
# name in turn) are carried in the launcher, each named on standard error,
# and put on the class path: the program finds their classes when their
# folder is gone. A Class-Path jar that is missing is refused when packing,
# naming it; an entry a launcher cannot carry (a directory, a web address)
# is warned about.
source "$(dirname "$0")/common.inc"
source "$(dirname "$0")/jar_launcher.inc"
export JAVA_HOME=$(real_jdk 17)

mkdir -p src/app src/helper src/deeper classes/app classes/helper classes/deeper app/lib "app/more libs"
cat > src/deeper/Deeper.java <<'JAVA'
public class Deeper {
  public static String word() { return "deeper"; }
}
JAVA
cat > src/helper/Helper.java <<'JAVA'
public class Helper {
  public static String word() { return "helped and " + Deeper.word(); }
}
JAVA
cat > src/app/App.java <<'JAVA'
public class App {
  public static void main(String[] args) {
    System.out.println("app " + Helper.word());
  }
}
JAVA
javac --release 17 -d classes/deeper src/deeper/Deeper.java
javac --release 17 -cp classes/deeper -d classes/helper src/helper/Helper.java
javac --release 17 -cp classes/helper:classes/deeper -d classes/app src/app/App.java
# helper.jar names deeper.jar beside itself; app.jar names helper.jar in lib/.
printf 'Class-Path: deeper%%20one.jar\n' > helper.mf
jar --create --file "app/more libs/deeper one.jar" -C classes/deeper .
jar --create --file app/lib/helper.jar --manifest helper.mf -C classes/helper .
mv "app/more libs/deeper one.jar" "app/lib/deeper one.jar"
rmdir "app/more libs"
printf 'Main-Class: App\nClass-Path: lib/helper.jar\n' > app.mf
jar --create --file app/app.jar --manifest app.mf -C classes/app .

# With the jars in place java itself runs it: the fixture is right.
expect_eq "java -jar" "app helped and deeper" "$("$JAVA_HOME/bin/java" -jar app/app.jar)"

"$LXPACK" create --main-jar app/app.jar --java 17+ --cli -o app.bin 2> pack.err || fail "lxpack create ended with $?: $(cat pack.err)"
# Each carried jar is named, with where it came from and which manifest
# named it; nothing is warned about.
expect_eq "what lxpack says of a class path it can carry" \
  "lxpack: carrying helper.jar from app/lib/helper.jar: the Class-Path of app/app.jar names lib/helper.jar
lxpack: carrying deeper one.jar from app/lib/deeper one.jar: the Class-Path of app/lib/helper.jar names deeper%20one.jar" \
  "$(cat pack.err)"
expect_eq "lxpack list" "$(printf '%s\n' app.jar helper.jar 'deeper one.jar')" \
  "$("$LXPACK" list app.bin | grep -oE 'app\.jar|helper\.jar|deeper one\.jar')"
mv app app.hidden
expect_eq "the launcher without the jars' folder" "app helped and deeper" "$(./app.bin)"
expect_clean_tmp "the launcher"
mv app.hidden app

# A Class-Path jar that is not there: refused, and no launcher written.
printf 'Main-Class: App\nClass-Path: lib/helper.jar lib/missing.jar\n' > missing.mf
jar --create --file app/missing.jar --manifest missing.mf -C classes/app .
set +e
"$LXPACK" create --main-jar app/missing.jar --java 17+ --cli -o missing.bin 2> missing.err
status=$?
set -e
expect_eq "status of a missing Class-Path jar" 2 "$status"
expect_contains "message" "the Class-Path of app/missing.jar names lib/missing.jar, and there is no file app/lib/missing.jar" \
  "$(cat missing.err)"
[ ! -e missing.bin ] || fail "a launcher was written although a Class-Path jar is missing"
expect_clean_tmp "lxpack create"

# What cannot be carried is named in a warning; the launcher is written.
mkdir -p app/classes
printf 'Main-Class: App\nClass-Path: lib/helper.jar classes/ https://example.org/x.jar\n' > web.mf
jar --create --file app/web.jar --manifest web.mf -C classes/app .
"$LXPACK" create --main-jar app/web.jar --java 17+ --cli -o web.bin 2> web.err || fail "lxpack refused: $(cat web.err)"
expect_contains "directory warning" "lxpack: warning: the Class-Path of app/web.jar names classes/, a directory, which a launcher cannot carry" "$(cat web.err)"
expect_contains "web address warning" "lxpack: warning: the Class-Path of app/web.jar names https://example.org/x.jar, which is no file a launcher can carry" "$(cat web.err)"
expect_eq "the launcher with warnings" "app helped and deeper" "$(./web.bin)"
