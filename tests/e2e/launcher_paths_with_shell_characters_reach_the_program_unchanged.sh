#!/usr/bin/env bash
# The launcher's own paths go into the wizard's command quoted for where the
# launch script puts them: a launcher saved in a directory whose name holds
# $(...), back quotes and quotes gives the wizard that name byte for byte
# through %LAUNCHER_DIR% and %LAUNCHER_FILE%, in double quotes, in single
# quotes and as a bare word, and runs nothing that the name spells.
source "$(dirname "$0")/common.inc"
need_lxpack
mkdir tmp
export TMPDIR=$T/tmp

fake_jvm "$T/jvm" 'for a in "$@"; do echo "arg[$a]"; done'
jvm_description app.jvm "$T/jvm"
cat > launch.txt <<'SCRIPT'
DESC: App
DISPLAY_CONSOLE: 1
COMMAND: """@JVM_HOME@/@JVM_EXE@"" %SYSTEMPROP%(""dir"", """"""%LAUNCHER_DIR%()"""""") %SYSTEMPROP%(""file"", ""'%LAUNCHER_FILE%()'"") bare=%LAUNCHER_DIR%() "
SCRIPT
printf 'INSTRUCTIONS:\n  LAUNCH "%s" 0\n/:\n' "$T/app.jvm" > instructions.txt
dir="$T/x\$(touch PWNED) \`touch PWNED2\` \"q\" 'sq' 100%"
mkdir "$dir"
make_launcher "$dir/setup.bin" instructions=instructions.txt launch-script=launch.txt >/dev/null

run out "$dir/setup.bin" -lx:silent
expect_eq "status" 0 "$status"
expect_eq "what the wizard saw" "arg[-Ddir=$dir]
arg[-Dfile=$dir/setup.bin]
arg[bare=$dir]" "$out"
found=$(find "$T" -name 'PWNED*')
[ -z "$found" ] || fail "a command in the directory name was run: $found"
