#!/usr/bin/env bash
# The dialog is shown by the first of zenity, kdialog, yad, Xdialog,
# gxmessage and xmessage on PATH, each called in its own convention. With
# none there the launcher ends as it would have, and the log says why no
# dialog came. A tool that fails or cannot run changes no status either.
source "$(dirname "$0")/common.inc"
source "$(dirname "$0")/failure_dialog.inc"
printf 'DESC: Quillon Setup\nCOMMAND: "x"\n' > launch.txt
no_jvm_launcher setup.bin launch.txt
# Only the stand-ins: the system's own zenity, first of the list, would be
# taken wherever it stands on PATH. Finding no JVM runs no other program.
only_stand_ins=$T/bin

# tools present | the one that is called | its arguments after LC_ALL
cases=(
  "xmessage kdialog|kdialog|--title;Quillon Setup;--error;$no_jvm_message"
  "gxmessage yad Xdialog|yad|--title=Quillon Setup;--text=$no_jvm_message;--no-markup;--image=dialog-error;--button=gtk-ok:0;--center"
  "xmessage gxmessage Xdialog|Xdialog|--title;Quillon Setup;--msgbox;$no_jvm_message;0;0"
  "xmessage gxmessage|gxmessage|-title;Quillon Setup;-center;-wrap;-encoding;UTF-8;$no_jvm_message"
  "xmessage|xmessage|-title;Quillon Setup;-center;$no_jvm_message"
)
for c in "${cases[@]}"; do
  IFS='|' read -r tools want words <<<"$c"
  rm -f bin/* && forget_dialogs
  for tool in $tools; do dialog_stand_in "$tool"; done
  PATH=$only_stand_ins DISPLAY=:0 without_terminal out ./setup.bin
  expect_eq "$tools: status" 69 "$status"
  expect_eq "$tools: the tool called" "$want" "$(ls records | sed 's/\..*//')"
  expect_eq "$tools: its arguments" "$(tr ';' '\n' <<<"$words")" "$(dialog_arguments | tail -n +2)"
done

# No tool: the run ends as before, and the log says so.
rm -f bin/* && forget_dialogs
PATH=$only_stand_ins DISPLAY=:0 without_terminal out ./setup.bin -lx:log setup.log
expect_eq "no tool: status" 69 "$status"
expect_contains "no tool: log" "WARNING: No terminal and a display, but none of zenity, kdialog, yad, Xdialog, gxmessage, xmessage is on PATH: the failure is shown on the console only." "$(cat setup.log)"

# A tool that fails, or is no program at all, leaves the status alone.
printf '#!/bin/sh\nexit 7\n' > bin/zenity
chmod +x bin/zenity
rm -f setup.log
PATH=$desktop_path DISPLAY=:0 without_terminal out ./setup.bin -lx:log setup.log
expect_eq "failing tool: status" 69 "$status"
expect_contains "failing tool: log" "The dialog ended with status 7." "$(cat setup.log)"
printf 'not a program' > bin/zenity
chmod +x bin/zenity
PATH=$desktop_path DISPLAY=:0 without_terminal out ./setup.bin
expect_eq "broken tool: status" 69 "$status"
[ -z "$(ls -A tmp)" ] || fail "temporary files left behind: $(ls -A tmp)"
