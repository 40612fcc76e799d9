#!/usr/bin/env bash
# lxpack create --main-jar makes a working launcher for a wizard from its
# jar alone, with nothing written by hand: it shows its title and status
# lines on standard error, finds a Java of the range asked for (here given
# by -lx:javahome and by JAVA_HOME), runs the wizard in the user's working
# directory with the JVM option given and the launcher's system properties,
# passes the user's arguments on unchanged, leaves standard output to the
# wizard, ends with the wizard's status and leaves nothing in the temporary
# directory. Run on the real JDKs 17 and 25.
source "$(dirname "$0")/common.inc"
source "$(dirname "$0")/jar_launcher.inc"
jdk17=$(real_jdk 17)
jdk25=$(real_jdk 25)

cat > Wizard.java <<'JAVA'
public class Wizard {
  public static void main(String[] args) {
    System.out.println("Wizard on Java " + System.getProperty("java.version"));
    System.out.println("mode " + System.getProperty("wizard.mode"));
    System.out.println("launcher " + System.getProperty("lx.launcher.file"));
    System.out.println("directory " + System.getProperty("user.dir"));
    for (String arg : args) System.out.println("[" + arg + "]");
    System.exit(40 + args.length);
  }
}
JAVA
mkdir dist
java_jar dist/wizard.jar Wizard Wizard.java
"$LXPACK" create --main-jar dist/wizard.jar --java 17+ --title "Demo Wizard" \
  --jvm-option '-Dwizard.mode=a b "c" $d' -o dist/setup.bin || fail "lxpack create --main-jar ended with $?"
expect_eq "lxpack check" "dist/setup.bin: OK, x86_64, 5 entries" "$("$LXPACK" check dist/setup.bin)"
expect_clean_tmp "lxpack create"

args=('two words' 'say "hi"' '$HOME and `date`' "it's" 'back\slash' '50% @x@ #y#' '')
for jdk in "$jdk17" "$jdk25"; do
  version=$(sed -n 's/^JAVA_VERSION="\(.*\)"$/\1/p' "$jdk/release")
  for how in javahome JAVA_HOME; do
    set +e
    if [ $how = javahome ]; then
      (cd / && env -u JAVA_HOME -u JDK_HOME "$T/dist/setup.bin" -lx:javahome "$jdk" "${args[@]}") > out.txt 2> err.txt
    else
      (cd / && JAVA_HOME=$jdk "$T/dist/setup.bin" "${args[@]}") > out.txt 2> err.txt
    fi
    status=$?
    set -e
    expect_eq "status on $jdk by $how (error output: $(cat err.txt))" 47 "$status"
    # The launcher's lines go to standard error; standard output is the
    # wizard's own, whole.
    expect_eq "the title on $jdk by $how" "Demo Wizard" "$(head -n 1 err.txt)"
    grep -qxF "Searching for Java(tm) Virtual Machine..." err.txt || fail "no status line on $jdk by $how: $(cat err.txt)"
    expect_eq "the wizard's output on $jdk by $how" "Wizard on Java $version
mode a b \"c\" \$d
launcher $T/dist/setup.bin
directory /
[two words]
[say \"hi\"]
[\$HOME and \`date\`]
[it's]
[back\\slash]
[50% @x@ #y#]
[]" "$(cat out.txt)"
    expect_clean_tmp "the launcher on $jdk by $how"
  done
done
