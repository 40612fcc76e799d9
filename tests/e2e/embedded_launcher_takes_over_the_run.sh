#!/usr/bin/env bash
# EXECUTE_LAUNCHER hands over to a second launcher carried in the archive:
# it gets every argument unchanged and the original launcher's place, its
# exit status is the status of the whole run, and it removes its own file
# and directory when it ends.
source "$(dirname "$0")/common.inc"
need_lxpack
mkdir tmp
export TMPDIR=$T/tmp

fake_jvm "$T/jvm" 'for a in "$@"; do echo "arg[$a]"; done; exit 4'
jvm_description inner.jvm "$T/jvm"
printf 'DESC: Inner\nDISPLAY_CONSOLE: 1\nCOMMAND: """@JVM_HOME@/@JVM_EXE@"" %%SYSTEMPROP%%(""dir"", """"""%%LAUNCHER_DIR%%()"""""") run "\n' > inner-launch.txt
printf 'INSTRUCTIONS:\n  LAUNCH "%s" 0\n/:\n' "$T/inner.jvm" > inner-instructions.txt
make_launcher inner.bin instructions=inner-instructions.txt launch-script=inner-launch.txt >/dev/null

printf 'INSTRUCTIONS:\n  EXECUTE_LAUNCHER 1\n  SET N1 = not-reached\n/:\n' > outer-instructions.txt
mkdir "outer dir"
make_launcher "outer dir/setup.bin" instructions=outer-instructions.txt launcher=inner.bin >/dev/null

run out "$T/outer dir/setup.bin" 'a b' 'q"x' 'back\slash' 'trail\' '' '$HOME'
expect_eq "status of the embedded launcher's application" 4 "$status"
# The first launcher's progress dots (one per extracted chunk) end their line.
out=$(printf '%s\n' "$out" | sed -E 's/^\.+//; /^$/d')
expect_eq "what the application saw" "Inner
arg[-Ddir=$T/outer dir]
arg[run]
arg[a b]
arg[q\"x]
arg[back\\slash]
arg[trail\\]
arg[]
arg[\$HOME]" "$out"
[ -z "$(ls -A tmp)" ] || fail "the embedded launcher left files behind: $(ls -A tmp)"
