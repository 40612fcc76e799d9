#!/usr/bin/env bash
# -lx:extract unpacks the archive with an input.tag; running the launcher
# with -lx:in input.tag from that directory takes the instructions, launch
# script and JVM descriptions from the unpacked files, so a packager can
# change them and try again without repacking.
source "$(dirname "$0")/common.inc"
need_lxpack
unset TMPDIR

fake_jvm "$T/jvm" 'echo "ran $*"; exit 9'
jvm_description app.jvm "$T/jvm"
printf 'DESC: Unpacked\nDISPLAY_CONSOLE: 1\nCOMMAND: """@JVM_HOME@/@JVM_EXE@"" tmp=%%TEMP_DIR%%() "\n' > launch.txt
printf 'INSTRUCTIONS:\n  ILAUNCH 2 0\n/:\n' > instructions.txt
make_launcher setup.bin --id 0 instructions=instructions.txt --id 1 launch-script=launch.txt --id 2 jvm=app.jvm >/dev/null

mkdir unpacked mytmp
(cd unpacked && ../setup.bin -lx:extract) >/dev/null || fail "-lx:extract failed"
# The unpacked launch script is changed: the run must use it, not the embedded one.
sed -i 's/tmp=/unpacked-tmp=/' unpacked/launch.txt
run out bash -c "cd unpacked && ../setup.bin -lx:tempdir '$T/mytmp' -lx:in input.tag"
expect_eq "run from the unpacked files" 9 "$status"
expect_eq "output" "Unpacked
ran unpacked-tmp=$T/mytmp" "$out"
