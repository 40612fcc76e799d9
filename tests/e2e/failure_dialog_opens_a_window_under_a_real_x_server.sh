#!/usr/bin/env bash
# For real: on a virtual X server, a launcher started without a terminal
# that finds no JVM opens Debian's zenity in a window titled with the
# launcher's title, waits while it is open, and ends with 69 once the
# window is closed. The title and the German text have letters outside
# ASCII, in a UTF-8 locale the system may well not have (zenity then falls
# back to ASCII and would refuse them). Xvfb, zenity, xwininfo and xdotool
# come with scripts/install-deps.
source "$(dirname "$0")/common.inc"
source "$(dirname "$0")/failure_dialog.inc"
for tool in Xvfb zenity xwininfo xdotool; do
  command -v "$tool" >/dev/null || fail "$tool is not installed (scripts/install-deps installs it)"
done

# The server picks a free display number and writes it when it is ready.
exec 3>"$T/display"
Xvfb -displayfd 3 -screen 0 1024x768x24 -nolisten tcp >"$T/xvfb.log" 2>&1 &
xvfb=$!
exec 3>&-
launcher=
trap 'kill $launcher "$xvfb" 2>/dev/null; wait $launcher "$xvfb" 2>/dev/null; rm -rf "$T"' EXIT
wait_for_file "$T/display"
export DISPLAY=":$(head -1 "$T/display")"

printf 'DESC: Quillon Einrichtung \\u00c4\\u00d6\\u00dc\nJAVA_DOWNLOAD_URL: https://example.org/java\nCOMMAND: "x"\n' > launch.txt
no_jvm_launcher setup.bin launch.txt
LANG=de_DE.UTF-8 ./setup.bin -lx:log setup.log </dev/null >out.txt 2>&1 &
launcher=$!

# The window tree with its names in UTF-8 (in the tests' C locale xwininfo
# could not show them).
window_tree() { LC_ALL=C.UTF-8 xwininfo -root -tree; }

# window_line: the line of xwininfo's tree for the dialog, once it is there
# (up to two minutes: the machine may be busy).
window_line() {
  local i line
  for i in $(seq 1200); do
    line=$(window_tree | grep '"Quillon Einrichtung ÄÖÜ"' || true)
    if [ -n "$line" ]; then
      echo "$line"
      return 0
    fi
    kill -0 "$launcher" 2>/dev/null || break
    sleep 0.1
  done
  fail "no window titled Quillon Einrichtung ÄÖÜ appeared (launcher output: $(cat out.txt); log: $(cat setup.log))"
}
line=$(window_line)
expect_contains "the window is zenity's" '"Quillon Einrichtung ÄÖÜ": ("zenity" "Zenity")' "$line"
kill -0 "$launcher" 2>/dev/null || fail "the launcher did not wait for the dialog"
expect_contains "the log names the tool" "the failure is shown in a dialog by /usr/bin/zenity" "$(cat setup.log)"

xdotool search --name '^Quillon Einrichtung' windowkill
finish "$launcher"
expect_eq "status once the window is closed" 69 "$status"
expect_contains "the console has the message" "Es wurde keine geeignete JVM gefunden." "$(cat out.txt)"
[ -z "$(window_tree | grep '"Quillon Einrichtung ÄÖÜ"' || true)" ] || fail "the window is still there"
[ -z "$(ls -A tmp)" ] || fail "temporary files left behind: $(ls -A tmp)"
