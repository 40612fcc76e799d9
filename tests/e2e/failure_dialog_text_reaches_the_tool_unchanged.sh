#!/usr/bin/env bash
# The dialog's title and text reach the tool as the launcher formed them,
# whatever they hold: quotes, $(...) and back quotes are handed over as
# words and run nothing, letters outside ASCII come in UTF-8 also when the
# terminal's locale has another character set. Each kind of failure that
# ends the run shows its own message; a launcher whose title was never read
# (a damaged file) is named by its file.
source "$(dirname "$0")/common.inc"
source "$(dirname "$0")/failure_dialog.inc"
dialog_stand_in zenity

# text_of: the --text word of the recorded call, without "--text=".
text_of() { dialog_arguments | sed -n '/^--text=/,/^--no-markup$/p' | sed '$d' | sed '1s/^--text=//'; }
title_of() { dialog_arguments | sed -n 's/^--title=//p'; }

# A launch script error whose function name holds every character a shell
# would act on, and a title in German and Russian with the same.
fake_jvm "$T/jvm" 'touch "$0.ran"'
jvm_description app.jvm "$T/jvm"
title='Grüße "$(touch pwned1)" `touch pwned2` Жж'
name='Grüße "$(touch pwned3)" `touch pwned4` '"'q'"' \ $HOME Жж'
printf 'DESC: %s\nCOMMAND: x %%%s%%()\n' "$title" "$name" > launch.txt
printf 'INSTRUCTIONS:\n  LAUNCH "%s" 0\n/:\n' "$T/app.jvm" > instructions.txt
make_launcher script-error.bin instructions=instructions.txt launch-script=launch.txt >/dev/null
for lang in de_DE.UTF-8 ru_RU.UTF-8 C.UTF-8; do
  forget_dialogs
  LANG=$lang PATH=$desktop_path DISPLAY=:0 without_terminal out ./script-error.bin
  expect_eq "$lang: status of a launch script error" 255 "$status"
  message="Launch script error: Invalid function name ($name)."
  expect_contains "$lang: console" "$message" "$out"
  expect_eq "$lang: dialog text" "$message" "$(text_of)"
  expect_eq "$lang: dialog title" "$title" "$(title_of)"
  expect_eq "$lang: the tool keeps the user's UTF-8 locale" "LC_ALL= CHARSET=UTF-8" "$(dialog_arguments | head -1)"
done
[ -z "$(ls pwned* 2>/dev/null)" ] || fail "a text was run by a shell: $(ls pwned*)"
[ ! -e "$T/jvm/bin/java.ran" ] || fail "the wizard ran"

# A terminal whose locale names no character set gets the catalogue's
# legacy bytes (ISO-8859-5 for Russian); the dialog gets the same message in
# UTF-8, and the title written with \u escapes, which such a terminal
# cannot show, in full.
printf 'DESC: \\u0423\\u0441\\u0442\\u0430\\u043d\\u043e\\u0432\\u043a\\u0430 1.0\nJAVA_DOWNLOAD_URL: https://example.org/java?a=1&b="2"\nCOMMAND: "x"\n' > ru-launch.txt
no_jvm_launcher nojvm.bin ru-launch.txt
forget_dialogs
LANG=ru_RU PATH=$desktop_path DISPLAY=:0 without_terminal out ./nojvm.bin -lx:log "журнал.log"
expect_eq "ru_RU: status" 69 "$status"
console_utf8=$(printf '%s\n' "$out" | tail -2 | iconv -f ISO-8859-5 -t UTF-8)
expect_contains "ru_RU: the console is in Russian" "Совместимую JVM можно загрузить с https://example.org/java?a=1&b=\"2\"" "$console_utf8"
expect_eq "ru_RU: dialog text" "$console_utf8

Подробности в файле журнала $T/журнал.log" "$(text_of)"
expect_eq "ru_RU: dialog title" "Установка 1.0" "$(title_of)"
expect_eq "ru_RU: the tool gets a UTF-8 locale" "LC_ALL=C.UTF-8 CHARSET=UTF-8" "$(dialog_arguments | head -1)"

# An instructions script that fails names its line in the dialog too.
printf 'INSTRUCTIONS:\n  SET N1 = 1\n  NO_SUCH_COMMAND "a b"\n/:\n' > bad-instructions.txt
make_launcher bad-instructions.bin instructions=bad-instructions.txt launch-script=launch.txt >/dev/null 2>&1
forget_dialogs
PATH=$desktop_path DISPLAY=:0 without_terminal out ./bad-instructions.bin
expect_eq "instructions error: status" 255 "$status"
expect_eq "instructions error: the dialog has the console's last line" "$(tail -1 <<<"$out")" "$(text_of)"
expect_contains "instructions error: the line number" "Line number (2)" "$(text_of)"

# A launcher cut short in its download: its title was never read, so the
# file's name stands for it.
head -c $(($(file_size nojvm.bin) - 9)) nojvm.bin > "setup (1).bin"
chmod +x "setup (1).bin"
forget_dialogs
PATH=$desktop_path DISPLAY=:0 without_terminal out "./setup (1).bin"
expect_eq "cut short: status" 255 "$status"
expect_eq "cut short: title" "setup (1).bin" "$(title_of)"
expect_eq "cut short: text" "The launcher file is damaged: it is incomplete, probably cut short while it was downloaded. Please download the launcher again." "$(text_of)"
[ -z "$(ls -A tmp)" ] || fail "temporary files left behind: $(ls -A tmp)"
