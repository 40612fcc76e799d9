#!/usr/bin/env bash
# A program's launcher that finds Java, but none that fits, tells its user
# which Java the program needs, each Java it found with why it was passed
# over (the first three by name, newest first, the rest counted, with the
# log named when there is one), and where to download one, in the user's
# language: on standard error for a command-line program, and in the
# dialog of a desktop program started from a file manager, which names no
# command-line option (its user cannot give one) but says what to do.
source "$(dirname "$0")/no_machine_jvms.inc"
source "$(dirname "$0")/common.inc"
source "$(dirname "$0")/jar_launcher.inc"
source "$(dirname "$0")/failure_dialog.inc"
dialog_stand_in zenity
mkdir -p empty home
export HOME=$T/home

# java_home NAME VERSION [OS_ARCH]: a Java at /usr/lib/jvm/NAME whose
# release file gives VERSION (and OS_ARCH), and whose java answers the
# verification as that version would; it can open windows, so that only
# the reasons this test is about turn it down.
java_home() {
  local home=/usr/lib/jvm/$1
  mkdir -p "$home/bin" "$home/lib"
  : > "$home/lib/libawt_xawt.so"
  printf 'JAVA_VERSION="%s"\n' "$2" > "$home/release"
  [ -z "${3:-}" ] || printf 'OS_ARCH="%s"\n' "$3" >> "$home/release"
  printf '#!/bin/sh\necho 1739021872\nfor p; do [ "$p" != java.version ] || echo %s; done\n' "$2" > "$home/bin/java"
  chmod +x "$home/bin/java"
}
other_arch=aarch64
[ "$(uname -m)" != aarch64 ] || other_arch=x86_64
java_home jdk-27 27.0.1
java_home jdk-22 22.0.1
printf '#!/bin/sh\necho "Error: Could not create the Java Virtual Machine." >&2\nexit 1\n' > /usr/lib/jvm/jdk-22/bin/java
java_home java-21-openjdk-other 21.0.5 "$other_arch"
java_home java-17-openjdk-amd64 17.0.9
java_home java-11-openjdk-amd64 11.0.21
java_home java-8-openjdk-amd64 1.8.0_392
homes=(jdk-27 jdk-22 java-21-openjdk-other java-17-openjdk-amd64 java-11-openjdk-amd64 java-8-openjdk-amd64)

cat > Tool.java <<'JAVA'
public class Tool {
  public static void main(String[] args) {
    System.out.println("the program ran");
  }
}
JAVA
# For Java 11, so that every range of the table admits the program.
mkdir classes
javac --release 11 -d classes Tool.java
jar --create --file tool.jar --main-class Tool -C classes .

j=/usr/lib/jvm
# range|download address|LANG|log|standard error
cases=(
  "21-25||C||This program needs Java 21 to 25, and no Java found on this computer fits:
Java 27 at $j/jdk-27 is too new.
The Java at $j/jdk-22 could not be started.
The Java at $j/java-21-openjdk-other is built for another kind of computer.
and 3 more.
Install it, or name the one to use with the option -lx:javahome <JAVA HOME DIR> or the environment variable JAVA_HOME."
  "28+|https://example.org/java|de_DE.UTF-8|log|Dieses Programm benötigt Java 28 oder neuer, aber keine der auf diesem Computer gefundenen Java-Installationen passt:
Java 27 in $j/jdk-27 ist zu alt.
Java 22 in $j/jdk-22 ist zu alt.
Das Java in $j/java-21-openjdk-other ist für einen anderen Computertyp gebaut.
und 3 weitere, siehe Protokoll.
Installieren Sie Java, oder geben Sie die zu verwendende mit der Option -lx:javahome <JAVA-HOME-VERZEICHNIS> oder der Umgebungsvariablen JAVA_HOME an.
Eine kompatible JVM kann von https://example.org/java heruntergeladen werden"
  "11.0.22-17.0.8||ja_JP.UTF-8||このプログラムには Java 11.0.22 から 17.0.8 が必要ですが、このコンピュータで見つかった Java はどれも適合しません:
Java 27.0.1（$j/jdk-27）は新しすぎます。
Java 22.0.1（$j/jdk-22）は新しすぎます。
$j/java-21-openjdk-other の Java は別の種類のコンピュータ用にビルドされています。
ほか 3 件。
Java をインストールするか、使用する Java を -lx:javahome <JAVA ホームディレクトリ> オプションまたは環境変数 JAVA_HOME で指定してください。"
)
for c in "${cases[@]}"; do
  IFS="|" read -r range url lang logged _ <<< "${c%%$'\n'*}"
  want=${c#*|*|*|*|}
  download=()
  [ -z "$url" ] || download=(--java-download "$url")
  log=()
  [ -z "$logged" ] || log=(-lx:log "$T/run.log")
  "$LXPACK" create --main-jar tool.jar --java "$range" --cli "${download[@]}" -o tool.bin ||
    fail "lxpack create --java $range ended with $?"
  rm -f run.log
  set +e
  env -u JAVA_HOME -u JDK_HOME PATH="$T/empty" LANG="$lang" ./tool.bin "${log[@]}" < /dev/null > out.txt 2> err.txt
  status=$?
  set -e
  expect_eq "--java $range, LANG=$lang: status" 69 "$status"
  expect_eq "--java $range, LANG=$lang: standard error" "$want" "$(cat err.txt)"
  [ ! -s out.txt ] || fail "--java $range: standard output holds the launcher's words: $(cat out.txt)"
  if [ -n "$logged" ]; then
    # "see the log": the log names every Java found, the three shown too.
    for home in "${homes[@]}"; do
      grep -qF "$j/$home/bin/java" run.log || fail "the log does not name $j/$home: $(cat run.log)"
    done
  fi
  expect_clean_tmp "--java $range"
done

# Started from a file manager: the desktop program's dialog says the same,
# but to install a Java rather than to name one with an option.
"$LXPACK" create --main-jar tool.jar --java 28+ --java-download https://example.org/java -o desktop.bin
forget_dialogs
DISPLAY=:0 LANG=C without_terminal out /usr/bin/env -u JAVA_HOME -u JDK_HOME PATH="$T/bin" ./desktop.bin \
  -lx:log "$T/desktop.log"
expect_eq "desktop, without a terminal: status" 69 "$status"
expect_contains "desktop: dialog text" "--text=This program needs Java 28 or newer, and no Java found on this computer fits:
Java 27 at $j/jdk-27 is too old.
Java 22 at $j/jdk-22 is too old.
The Java at $j/java-21-openjdk-other is built for another kind of computer.
and 3 more, see the log.
Install such a Java and start this program again.
A compatible JVM can be downloaded from https://example.org/java

Details are in the log file $T/desktop.log" "$(dialog_arguments)"
! grep -q -- "-lx:" <<< "$(dialog_arguments)" || fail "the dialog names a launcher option: $(dialog_arguments)"
expect_contains "desktop: the console's text" "Install it, or name the one to use with the option -lx:javahome" "$out"
[[ $out != *"the program ran"* ]] || fail "the program ran without a Java that fits: $out"
