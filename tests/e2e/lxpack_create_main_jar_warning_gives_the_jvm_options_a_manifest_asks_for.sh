#!/usr/bin/env bash
# A jar whose manifest opens a package of java.base to it (Add-Opens) works
# with java -jar only; the launcher runs the main class from a class path,
# where java reads no such attribute. lxpack's warning gives the
# --jvm-option arguments that do the same: copied as they are onto the
# command line they make the program work, and lxpack then says nothing
# more about them. Run on the real JDK 17.
source "$(dirname "$0")/common.inc"
source "$(dirname "$0")/jar_launcher.inc"
export JAVA_HOME=$(real_jdk 17)

# Reads a private field of ArrayList and of HashMap, which only works with
# java.util opened to the class path's classes.
mkdir -p src classes
cat > src/Peek.java <<'JAVA'
import java.lang.reflect.Field;
import java.util.ArrayList;
import java.util.HashMap;
import java.util.List;

public class Peek {
  public static void main(String[] args) throws Exception {
    Field size = ArrayList.class.getDeclaredField("size");
    size.setAccessible(true);
    Field threshold = HashMap.class.getDeclaredField("threshold");
    threshold.setAccessible(true);
    System.out.println("size " + size.getInt(new ArrayList<>(List.of(1, 2, 3))));
  }
}
JAVA
"$JAVA_HOME/bin/javac" --release 17 -d classes src/Peek.java || fail "javac failed"
printf 'Add-Opens: java.base/java.util java.base/java.lang.invoke\n' > manifest.txt
"$JAVA_HOME/bin/jar" --create --file peek.jar --main-class Peek --manifest manifest.txt -C classes . || fail "jar failed"
expect_eq "java -jar applies the manifest" "size 3" "$("$JAVA_HOME/bin/java" -jar peek.jar)"

run out "$LXPACK" create --main-jar peek.jar --java 17+ --cli -o plain.bin
expect_eq "lxpack status" 0 "$status"
warning=$(cat "$T/.stderr")
prefix="lxpack: warning: the manifest of peek.jar has Add-Opens: java.base/java.util java.base/java.lang.invoke, which java applies only to java -jar; the launcher runs the main class from a class path, so give java the same with "
expect_eq "the warning" "${prefix}--jvm-option --add-opens=java.base/java.util=ALL-UNNAMED --jvm-option --add-opens=java.base/java.lang.invoke=ALL-UNNAMED" "$warning"
run out ./plain.bin
[ "$status" -ne 0 ] || fail "without the options the program ran: $out"
expect_contains "java refuses the private field" "InaccessibleObjectException" "$(cat "$T/.stderr")"

# The arguments after the prefix, as a shell reads them.
eval "copied=(${warning#"$prefix"})"
run out "$LXPACK" create --main-jar peek.jar --java 17+ --cli "${copied[@]}" -o peek.bin
expect_eq "lxpack status with the options" 0 "$status"
expect_eq "lxpack's output with the options" "" "$out$(cat "$T/.stderr")"
run out ./peek.bin
expect_eq "status of the launcher with the options" 0 "$status"
expect_eq "the program's output" "size 3" "$out"

# One of the two given: the other is still asked for, alone.
run out "$LXPACK" create --main-jar peek.jar --java 17+ --cli --jvm-option --add-opens=java.base/java.util=ALL-UNNAMED -o half.bin
expect_eq "the warning for what is still missing" "${prefix}--jvm-option --add-opens=java.base/java.lang.invoke=ALL-UNNAMED" "$(cat "$T/.stderr")"
expect_clean_tmp "the launchers"
