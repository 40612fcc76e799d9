#!/usr/bin/env bash
# A class path added by the user (-cp:p, -cp:a, the side files .cp1, .cp,
# .cp2) reaches the verification command, and a class there can answer in
# place of the verification class. Such answers are neither kept in the
# store of verified JVMs nor taken from it: a later run without the
# addition verifies for real, and a JDK that does not match is not
# accepted.
source "$(dirname "$0")/common.inc"
source "$(dirname "$0")/discovery.inc"
[ -x "$jdk/bin/javac" ] || fail "$jdk has no javac to build the stand-in verification class"

# A class named like the verification class that claims Java 99.
mkdir fake
cat > fake/Verify.java <<'JAVA'
public class Verify {
  public static void main(String[] args) {
    System.out.println("1739021872");
    for (String name : args) System.out.println(name.equals("java.version") ? "99.0.1" : System.getProperty(name));
  }
}
JAVA
"$jdk/bin/javac" -d fake fake/Verify.java
(cd fake && "$jdk/bin/jar" cf ../fake.jar Verify.class)

cat > java99.jvm <<JVM
DESC: Java 99
JVM_EXE: bin/java
CLASSPATH: "-cp "
CLASSPATH_SEPARATOR: :
JVM_PROPERTIES:
  java.version=99...
/:
PATH_HINT:
  $jdk
/:
JVM
printf 'ACTION: SEARCH\nJVM: %s\nLOGFILE: %s\n' "$T/java99.jvm" "$T/search.log" > search.tag

# Each way of adding to the class path, with the answer it gives (entries
# after the verification class cannot take its place), then a run without
# the addition.
for case in -cp:p=1 .cp1=1 .cp=1 -cp:a=0 .cp2=0; do
  way=${case%=*}
  case $way in
    -cp:*) run out ./setup.bin -lx:silent "$way" "$T/fake.jar" -lx:in search.tag ;;
    *) echo "$T/fake.jar" > "setup$way"; run out ./setup.bin -lx:silent -lx:in search.tag; rm "setup$way" ;;
  esac
  expect_eq "the answer with $way" "${case#*=}" "$(head -n1 <<< "$out")"
  rm -f "$(sed -n 3p <<< "$out")"
  run out ./setup.bin -lx:silent -lx:in search.tag
  expect_eq "the JDK on its own ($way)" 0 "$(head -n1 <<< "$out")"
  grep -q "^The store of verified JVMs is not used: the verification's class path has entries from" search.log ||
    fail "the log does not say why the store was not used ($way): $(cat search.log)"
  rm search.log
done
