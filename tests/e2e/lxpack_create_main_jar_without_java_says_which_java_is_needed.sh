#!/usr/bin/env bash
# A command-line program is no installer to run again: on a computer
# without Java its launcher (--cli, which writes NO_JVM_MESSAGE: program)
# says on standard error which Java the program needs, in words that fit
# each form of --java, how to name one, and where to download one when the
# packager gave the address; standard output stays empty and the status is
# 69. It shows no dialog (FAILURE_DIALOG: 0). A desktop program's launcher
# is no installer either: its dialog, shown without a terminal, says which
# Java to install, and names no option.
source "$(dirname "$0")/no_machine_jvms.inc"
source "$(dirname "$0")/common.inc"
source "$(dirname "$0")/jar_launcher.inc"
source "$(dirname "$0")/failure_dialog.inc"
dialog_stand_in zenity
mkdir -p home
export HOME=$T/home

cat > Tool.java <<'JAVA'
public class Tool {
  public static void main(String[] args) {
    System.out.println("the program ran");
  }
}
JAVA
java_jar tool.jar Tool Tool.java
mkdir empty

point_en="Install it, or name the one to use with the option -lx:javahome <JAVA HOME DIR> or the environment variable JAVA_HOME."
point_de="Installieren Sie Java, oder geben Sie die zu verwendende mit der Option -lx:javahome <JAVA-HOME-VERZEICHNIS> oder der Umgebungsvariablen JAVA_HOME an."
# range|download address|LANG|the message on standard error
cases=(
  "99+||C|This program needs Java 99 or newer, and none was found on this computer.
$point_en"
  "90-95|https://example.org/java?v=90|en_US.UTF-8|This program needs Java 90 to 95, and none was found on this computer.
$point_en
A compatible JVM can be downloaded from https://example.org/java?v=90"
  "98||en_GB|This program needs Java 98, and none was found on this computer.
$point_en"
  "99+|https://example.org/java|de_DE.UTF-8|Dieses Programm benötigt Java 99 oder neuer, aber auf diesem Computer wurde keine passende Java-Installation gefunden.
$point_de
Eine kompatible JVM kann von https://example.org/java heruntergeladen werden"
  "90-95||de_DE.UTF-8|Dieses Programm benötigt Java 90 bis 95, aber auf diesem Computer wurde keine passende Java-Installation gefunden.
$point_de"
)
for c in "${cases[@]}"; do
  IFS="|" read -r range url lang _ <<< "${c%%$'\n'*}"
  want=${c#*|*|*|}
  download=()
  [ -z "$url" ] || download=(--java-download "$url")
  "$LXPACK" create --main-jar tool.jar --java "$range" --cli "${download[@]}" -o tool.bin ||
    fail "lxpack create --java $range ended with $?"
  set +e
  env -u JAVA_HOME -u JDK_HOME PATH="$T/empty" LANG="$lang" ./tool.bin < /dev/null > out.txt 2> err.txt
  status=$?
  set -e
  expect_eq "--java $range, LANG=$lang: status" 69 "$status"
  expect_eq "--java $range, LANG=$lang: standard error" "$want" "$(cat err.txt)"
  [ ! -s out.txt ] || fail "--java $range: standard output holds the launcher's words: $(cat out.txt)"
  expect_clean_tmp "--java $range without a Java"
done

# Run by a tool with every stream redirected on a desktop, it ends at once
# and leaves its caller the message on standard error, with no dialog.
"$LXPACK" create --main-jar tool.jar --java 99+ --cli -o tool.bin
forget_dialogs
DISPLAY=:0 LANG=C without_terminal out /usr/bin/env -u JAVA_HOME -u JDK_HOME PATH="$T/bin" ./tool.bin
expect_eq "--cli without a terminal: status" 69 "$status"
expect_eq "--cli without a terminal: dialogs" 0 "$(dialog_calls)"
expect_eq "--cli without a terminal: message" "This program needs Java 99 or newer, and none was found on this computer.
$point_en" "$out"

# A desktop program's user who double-clicked it reads which Java to
# install in the dialog; the console, standard error, has the same, with
# the option.
"$LXPACK" create --main-jar tool.jar --java 99+ --java-download https://example.org/java -o desktop.bin
forget_dialogs
DISPLAY=:0 LANG=C without_terminal out /usr/bin/env -u JAVA_HOME -u JDK_HOME PATH="$T/bin" ./desktop.bin
expect_eq "desktop without a terminal: status" 69 "$status"
expect_contains "desktop: dialog text" "--text=This program needs Java 99 or newer, and none was found on this computer.
Install such a Java and start this program again.
A compatible JVM can be downloaded from https://example.org/java" "$(dialog_arguments)"
! grep -q -- "-lx:" <<< "$(dialog_arguments)" || fail "the dialog names a launcher option: $(dialog_arguments)"
set +e
env -u JAVA_HOME -u JDK_HOME PATH="$T/empty" LANG=C ./desktop.bin > out.txt 2> err.txt
status=$?
set -e
expect_eq "desktop: status" 69 "$status"
expect_contains "desktop: standard error" "This program needs Java 99 or newer, and none was found on this computer.
$point_en
A compatible JVM can be downloaded from https://example.org/java" "$(cat err.txt)"
[ ! -s out.txt ] || fail "the desktop program's launcher wrote to standard output: $(cat out.txt)"
! grep -qF "$no_jvm_message" err.txt || fail "the desktop program's launcher speaks of an installer: $(cat err.txt)"
