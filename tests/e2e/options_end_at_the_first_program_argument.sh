#!/usr/bin/env bash
# The launcher's options come first. The first argument that is not one
# ends them, and so does "--" (which is not passed on): everything after
# goes to the program byte for byte, even where it looks like an option.
# Otherwise a program's own arguments, file names from a shell pattern
# say, could make the launcher load an input file and run its installer.
source "$(dirname "$0")/common.inc"
need_lxpack

fake_jvm "$T/jvm" 'for a in "$@"; do printf "[%s]\n" "$a"; done'
jvm_description run.jvm "$T/jvm"
printf 'DESC: Args\nDISPLAY_CONSOLE: 1\nCOMMAND: """@JVM_HOME@/@JVM_EXE@"" "\n' > launch.txt
printf 'INSTRUCTIONS:\n  LAUNCH "%s" 0\n/:\n' "$T/run.jvm" > instructions.txt
make_launcher setup.bin instructions=instructions.txt launch-script=launch.txt >/dev/null 2>&1

# Files named like options, and an input file that runs an "installer".
mkdir files
printf '#!/bin/sh\ntouch "%s/installer-ran"\n' "$T" > installer.sh
chmod +x installer.sh
printf 'ACTION: INSTALL_JVM\nINSTALL_JVM_EXE: %s\nINSTALL_JVM_DEST: %s\n' "$T/installer.sh" "$T/files" > files/a.tag
: > files/-lx:in
: > files/data.txt

# arguments | what the program gets, one per line
cases=(
  "data.txt -lx:in a.tag|[data.txt] [-lx:in] [a.tag]"
  "-- -lx:in a.tag data.txt|[-lx:in] [a.tag] [data.txt]"
  "-lx:javaconsole -- -lx:version x|[-lx:version] [x]"
  "-lx:javaconsole -- -- x|[--] [x]"
  "a -- b|[a] [--] [b]"
  "a -cp:p x.jar -lx:javaconsole -lx:log log.txt|[a] [-cp:p] [x.jar] [-lx:javaconsole] [-lx:log] [log.txt]"
  "-LX:VERSION -lx:version|[-LX:VERSION] [-lx:version]"
  "--|"
)
for case in "${cases[@]}"; do
  read -r -a args <<<"${case%%|*}"
  expected=$(tr ' ' '\n' <<<"${case#*|}")
  run out env -C files ../setup.bin "${args[@]}"
  expect_eq "status for ${case%%|*}" 0 "$status"
  # The title line, then one line per argument the program got.
  expect_eq "what the program got for ${case%%|*}" "Args${expected:+
$expected}" "$out"
  [ ! -e installer-ran ] || fail "${case%%|*}: the input file named among the program's arguments was acted on"
  [ ! -e files/log.txt ] || fail "${case%%|*}: a log option among the program's arguments was acted on"
done

# Byte for byte: blanks, quotes, backslashes, bytes that are not UTF-8.
run out env -C files ../setup.bin first -- 'a b' '"q"' 'back\slash' $'caf\xe9' ''
expect_eq "arguments passed on unchanged" "Args
[first]
[--]
[a b]
[\"q\"]
[back\\slash]
[caf"$'\xe9'"]
[]" "$out"

# Options before the first program argument still act.
run out env -C files ../setup.bin -lx:in a.tag
[ -e installer-ran ] || fail "-lx:in as the first argument did not load the input file (status $status)"
