#!/usr/bin/env bash
# -lx:extract loads the archive's index without the embedded tag files, so
# an input file after it without INSTRUCTIONS has nothing to run: only the
# extraction's progress dots (one per file), status 255, and the embedded
# instructions, which would launch the application, do not run.
source "$(dirname "$0")/common.inc"
need_lxpack
unset TMPDIR

fake_jvm "$T/jvm" 'echo "ran $*"; exit 9'
jvm_description app.jvm "$T/jvm"
printf 'DESC: Unpacked\nDISPLAY_CONSOLE: 1\nCOMMAND: """@JVM_HOME@/@JVM_EXE@"" tmp=%%TEMP_DIR%%() "\n' > launch.txt
printf 'INSTRUCTIONS:\n  ILAUNCH 2 0\n/:\n' > instructions.txt
make_launcher setup.bin --id 0 instructions=instructions.txt --id 1 launch-script=launch.txt --id 2 jvm=app.jvm >/dev/null

mkdir unpacked
cd unpacked
printf 'ACTION: RUN_INSTRUCTIONS\n' > plain.tag
run out ../setup.bin -lx:extract -lx:in plain.tag
expect_eq "only the extraction's progress dots" "..." "$out"
expect_eq "nothing to run status" 255 "$status"
