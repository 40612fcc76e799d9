#!/usr/bin/env bash
# %TEMP_DIR%() tells the wizard the directory where the launcher really puts
# its temporary files: TMPDIR when it names a directory, even when
# -lx:tempdir names another; else the -lx:tempdir directory; else /tmp.
source "$(dirname "$0")/common.inc"
need_lxpack
mkdir env-tmp option-tmp

# The wizard says what it was told and where its class path archive is.
fake_jvm "$T/jvm" 'echo "told[$1]"; echo "files[$(dirname "$(dirname "$3")")]"'
jvm_description app.jvm "$T/jvm"
printf 'DESC: App\nDISPLAY_CONSOLE: 1\nCOMMAND: """@JVM_HOME@/@JVM_EXE@"" ""%%TEMP_DIR%%()"" %%CP%%() "\n' > launch.txt
printf 'INSTRUCTIONS:\n  LAUNCH "%s" 0\n/:\n' "$T/app.jvm" > instructions.txt
echo app > app.jar
make_launcher setup.bin instructions=instructions.txt launch-script=launch.txt classpath=app.jar >/dev/null

run out env TMPDIR="$T/env-tmp" ./setup.bin -lx:silent -lx:tempdir "$T/option-tmp"
expect_eq "TMPDIR and -lx:tempdir" "told[$T/env-tmp]
files[$T/env-tmp]" "$out"
run out env -u TMPDIR ./setup.bin -lx:silent -lx:tempdir "$T/option-tmp"
expect_eq "-lx:tempdir alone" "told[$T/option-tmp]
files[$T/option-tmp]" "$out"
run out env TMPDIR="$T/missing" ./setup.bin -lx:silent -lx:tempdir option-tmp
expect_eq "TMPDIR naming no directory, a relative -lx:tempdir" "told[$T/option-tmp]
files[$T/option-tmp]" "$out"
