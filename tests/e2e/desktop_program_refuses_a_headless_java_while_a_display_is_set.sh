#!/usr/bin/env bash
# A desktop program's launcher (lxpack create --main-jar without --cli)
# passes over, while a display is set, a Java that cannot open windows: the
# program would die on it. With such a Java alone its user is told why
# (status 69; in the dialog too when started from a file manager), and
# nothing is started; without a display the launcher takes it as any other.
# A command-line program's launcher takes it either way, and never opens a
# dialog: its caller may be a build tool with every stream redirected,
# which a dialog would hold.
source "$(dirname "$0")/no_machine_jvms.inc"
source "$(dirname "$0")/common.inc"
source "$(dirname "$0")/jar_launcher.inc"
source "$(dirname "$0")/failure_dialog.inc"
dialog_stand_in zenity
mkdir -p home
export HOME=$T/home

# A headless home: a copy of a real JDK without AWT's windowing library,
# as the headless packages and server images are.
headless=$T/headless
cp -as "$machine_jdk" "$headless"
for f in bin/java lib/server/libjvm.so; do
  rm "$headless/$f"
  cp "$machine_jdk/$f" "$headless/$f"
done
[ -e "$headless/lib/libawt_xawt.so" ] || fail "$machine_jdk has no lib/libawt_xawt.so: it is no stand-in for a desktop JDK"
rm "$headless/lib/libawt_xawt.so"

cat > Hello.java <<'JAVA'
public class Hello {
  public static void main(String[] args) {
    System.out.println("the program ran");
  }
}
JAVA
java_jar hello.jar Hello Hello.java
"$LXPACK" create --main-jar hello.jar --java 17+ -o desktop.bin
"$LXPACK" create --main-jar hello.jar --java 17+ --cli -o cli.bin

headless_line="This program needs a Java that can open windows; the one at $headless is headless."
for display in DISPLAY=:0 WAYLAND_DISPLAY=wayland-0; do
  forget_dialogs
  rm -f run.log
  LANG=C without_terminal out /usr/bin/env JAVA_HOME="$headless" PATH="$T/bin" "$display" ./desktop.bin -lx:log "$T/run.log"
  expect_eq "$display: status" 69 "$status"
  [[ $out != *"the program ran"* ]] || fail "$display: the program ran on a headless Java: $out"
  want="This program needs Java 17 or newer, and no Java found on this computer fits:
$headless_line"
  expect_contains "$display: the console's text" "$want" "$out"
  expect_contains "$display: the dialog's text" "--text=$want
Install such a Java and start this program again." "$(dialog_arguments)"
  ! grep -q '"Verify"' run.log || fail "$display: the headless Java was started: $(cat run.log)"
  expect_clean_tmp "$display"
done

# Without a display it is the Java to take.
LANG=C without_terminal out /usr/bin/env -u DISPLAY -u WAYLAND_DISPLAY JAVA_HOME="$headless" PATH="$T/bin" ./desktop.bin
expect_eq "without a display: status" 0 "$status"
expect_contains "without a display: the program's output" "the program ran" "$out"

# A command-line program takes it with a display too.
forget_dialogs
DISPLAY=:0 LANG=C without_terminal out /usr/bin/env JAVA_HOME="$headless" PATH="$T/bin" ./cli.bin
expect_eq "--cli with a display: status" 0 "$status"
expect_eq "--cli with a display: the program's output" "the program ran" "$out"

# And without any Java, on a desktop and with every stream redirected, it
# says so on standard error and ends, without a dialog.
forget_dialogs
set +e
DISPLAY=:0 LANG=C /usr/bin/env -u JAVA_HOME -u JDK_HOME PATH="$T/bin" ./cli.bin < /dev/null > out.txt 2> err.txt
status=$?
set -e
expect_eq "--cli without a Java: status" 69 "$status"
expect_eq "--cli without a Java: dialogs" 0 "$(dialog_calls)"
expect_contains "--cli without a Java: standard error" \
  "This program needs Java 17 or newer, and none was found on this computer." "$(cat err.txt)"
