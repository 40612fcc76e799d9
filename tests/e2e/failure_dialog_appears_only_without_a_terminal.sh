#!/usr/bin/env bash
# Started from a file manager, a launcher has no terminal and what it
# prints is lost: a failure that ends the run is then also shown in a
# dialog, once, titled with the launcher's title, with the console's
# message, the download address and the log file. Only then: a terminal on
# any standard stream, no display, -lx:silent or an input-file action
# (whose caller reads the answers) show none. The status is the same
# either way.
source "$(dirname "$0")/common.inc"
source "$(dirname "$0")/failure_dialog.inc"
dialog_stand_in zenity
printf 'DESC: Quillon Setup\nJAVA_DOWNLOAD_URL: https://example.org/java\nCOMMAND: "x"\n' > launch.txt
no_jvm_launcher setup.bin launch.txt
download="A compatible JVM can be downloaded from https://example.org/java"

# Double-clicked in a session with a display: the dialog, and 69. The
# locale (LANG=C) has no UTF-8, which the tool needs for text that is not
# ASCII: it gets a UTF-8 locale of its own, and GTK's character set.
PATH=$desktop_path DISPLAY=:0 without_terminal out ./setup.bin -lx:log setup.log
expect_eq "status with the dialog" 69 "$status"
expect_contains "the console still has the message" "$no_jvm_message
$download" "$out"
expect_eq "the dialog's arguments" "LC_ALL=C.UTF-8 CHARSET=UTF-8
--error
--title=Quillon Setup
--text=$no_jvm_message
$download

Details are in the log file $T/setup.log
--no-markup" "$(dialog_arguments)"
expect_contains "the log names the tool" "No terminal: the failure is shown in a dialog by $T/bin/zenity." "$(cat setup.log)"
expect_contains "the log has the dialog's end" "The dialog ended with status 0." "$(cat setup.log)"

# Wayland alone is a display too; without -lx:log the text has no log line.
forget_dialogs
PATH=$desktop_path WAYLAND_DISPLAY=wayland-0 without_terminal out ./setup.bin
expect_eq "status under Wayland" 69 "$status"
expect_eq "the dialog's text under Wayland" "--text=$no_jvm_message
$download" "$(dialog_arguments | sed -n '4,5p')"

# A calling program that runs the instructions through an input file gets
# the dialog as the user would; one that asks for an action gets none.
forget_dialogs
printf 'ACTION: RUN_INSTRUCTIONS\n' > run.tag
PATH=$desktop_path DISPLAY=:0 without_terminal out ./setup.bin -lx:in run.tag
expect_eq "status of RUN_INSTRUCTIONS" 69 "$status"
expect_eq "dialogs for RUN_INSTRUCTIONS" 1 "$(dialog_calls)"

# None of these shows a dialog: case | how the launcher is started. `script`
# gives the launcher a terminal on the streams that are not redirected.
forget_dialogs
printf 'ACTION: SEARCH\n' > search.tag
printf 'ACTION: NO_SUCH_ACTION\n' > invalid.tag
cases=(
  "no display|env -u DISPLAY -u WAYLAND_DISPLAY ./setup.bin </dev/null >/dev/null 2>&1|69"
  "empty display variables|env DISPLAY= WAYLAND_DISPLAY= ./setup.bin </dev/null >/dev/null 2>&1|69"
  "-lx:silent|./setup.bin -lx:silent </dev/null >/dev/null 2>&1|69"
  "input-file action|./setup.bin -lx:in search.tag </dev/null >/dev/null 2>&1|0"
  "input file that fails|./setup.bin -lx:in invalid.tag </dev/null >/dev/null 2>&1|255"
  "input file that cannot be read|./setup.bin -lx:in missing.tag </dev/null >/dev/null 2>&1|255"
  "terminal on standard input|script -qec './setup.bin >/dev/null 2>&1' /dev/null|69"
  "terminal on standard output|script -qec './setup.bin </dev/null 2>/dev/null' /dev/null|69"
  "terminal on standard error|script -qec './setup.bin </dev/null >/dev/null' /dev/null|69"
)
for c in "${cases[@]}"; do
  IFS='|' read -r what command want <<<"$c"
  set +e
  PATH=$desktop_path DISPLAY=:0 timeout 120 bash -c "$command" </dev/null >/dev/null 2>&1
  status=$?
  set -e
  expect_eq "$what: status" "$want" "$status"
  expect_eq "$what: dialogs" 0 "$(dialog_calls)"
done

# Under `script` with every stream redirected the dialog does show: it is
# the terminal on a stream that kept it away above.
forget_dialogs
PATH=$desktop_path DISPLAY=:0 timeout 120 script -qec './setup.bin </dev/null >/dev/null 2>&1' /dev/null \
  </dev/null >/dev/null 2>&1 || true
expect_eq "under script, no stream a terminal: dialogs" 1 "$(dialog_calls)"

# A run that succeeds shows nothing.
forget_dialogs
PATH=$desktop_path DISPLAY=:0 without_terminal out ./setup.bin -lx:version
expect_eq "version: status" 0 "$status"
expect_eq "version: dialogs" 0 "$(dialog_calls)"
[ -z "$(ls -A tmp)" ] || fail "temporary files left behind: $(ls -A tmp)"
