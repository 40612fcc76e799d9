#!/usr/bin/env bash
# lxpack create refuses a launcher that would be written whole and still
# could not work, says why (naming the file and, in a script, the line)
# and writes nothing; with --force it writes the launcher anyway and shows
# the same reasons as warnings.
source "$(dirname "$0")/common.inc"
need_lxpack

printf 'INSTRUCTIONS:\n  INITIALIZE_UI\n/:\n' > instr.txt
printf 'DESC: Product\nCOMMAND: run\n' > launch.txt
printf 'JVM_EXE: bin/java\n' > a.jvm
printf 'PK fake\n' > Verify.jar
mkdir other
printf 'PK other\n' > other/Verify.jar
script() { { echo "INSTRUCTIONS:"; for l in "$@"; do printf '  %s\n' "$l"; done; echo "/:"; } > "$T/script.txt"; }

# case WHAT EXPECTED-LINE TYPE=FILE...: refused without --force, written
# with it.
case_refused() {
  local what=$1 line=$2 status=0; shift 2
  rm -f out.bin
  "$LXPACK" create --stub "$LXLAUNCHER" -o out.bin "$@" 2> err.txt || status=$?
  expect_eq "$what: status" 1 "$status"
  expect_contains "$what: reason" "lxpack: $line" "$(cat err.txt)"
  expect_contains "$what: nothing written" "lxpack: out.bin not written: the launcher could not work (--force writes it anyway)" "$(cat err.txt)"
  [ ! -e out.bin ] || fail "$what: out.bin was written"
  [ -z "$(ls -A | grep lxpack-)" ] || fail "$what: a temporary file was left"
  status=0
  "$LXPACK" create --force --stub "$LXLAUNCHER" -o out.bin "$@" 2> err.txt || status=$?
  expect_eq "$what: status with --force" 0 "$status"
  expect_contains "$what: warning with --force" "lxpack: warning: $line" "$(cat err.txt)"
  [ -s out.bin ] || fail "$what: --force wrote nothing"
}

case_refused "no instructions" "the launcher carries no instructions script (instructions=FILE)" \
  launch-script=launch.txt
case_refused "descriptions without a verification archive" \
  "the launcher carries JVM descriptions but no verification archive (verify=FILE)" \
  instructions=instr.txt launch-script=launch.txt jvm=a.jvm
case_refused "instructions and launch script swapped" \
  "launch.txt is not an instructions script: it has no INSTRUCTIONS block" \
  instructions=launch.txt launch-script=instr.txt
case_refused "a launch script without COMMAND" "instr.txt is a launch script without COMMAND" \
  instructions=instr.txt launch-script=instr.txt
script INITIALIZE_UI "LAUNCH_JVM x 0"
case_refused "an unknown command" "$T/script.txt, line 2: unknown command 'LAUNCH_JVM'" \
  instructions="$T/script.txt" launch-script=launch.txt
script "GOTO END" ":ENDE"
case_refused "GOTO to a missing label" "$T/script.txt, line 1: GOTO jumps to the label 'END', but no line is ':END'" \
  instructions="$T/script.txt"
script "SET N1 = 0" "JMP0 @N1@ INSTALL"
case_refused "JMP0 to a missing label" "$T/script.txt, line 2: JMP0 jumps to the label 'INSTALL'" \
  instructions="$T/script.txt"
script "ILAUNCH 5 0"
case_refused "ILAUNCH of an id no entry has" "$T/script.txt, line 1: ILAUNCH names file id 5, but no entry of the launcher has that id" \
  instructions="$T/script.txt" launch-script=launch.txt jvm=a.jvm verify=Verify.jar
script "ILAUNCH 1 0"
case_refused "ILAUNCH of an id that is no description" "$T/script.txt, line 1: ILAUNCH names file id 1, but that is launch.txt, no JVM description" \
  instructions="$T/script.txt" launch-script=launch.txt jvm=a.jvm verify=Verify.jar
script "VERIFY 1 1 0"
case_refused "VERIFY of the instructions' id" "$T/script.txt, line 1: VERIFY names file id 0, but that is $T/script.txt, no JVM description" \
  instructions="$T/script.txt" jvm=a.jvm verify=Verify.jar
script "EXECUTE_LAUNCHER 1"
case_refused "EXECUTE_LAUNCHER of a position without a launcher" \
  "$T/script.txt, line 1: EXECUTE_LAUNCHER names position 1, but the launcher holds no embedded launcher there" \
  instructions="$T/script.txt" application=Verify.jar
script "INSTALL_JVM 0"
case_refused "INSTALL_JVM without an installer" "$T/script.txt, line 1: INSTALL_JVM needs a JVM installer" \
  instructions="$T/script.txt"
case_refused "two entries of one name" \
  "two entries are named 'Verify.jar' (Verify.jar and other/Verify.jar): extracting them writes both to one file" \
  instructions=instr.txt verify=Verify.jar application=other/Verify.jar
printf 'JVM_EXE: bin/java\nJAVA_VERSION: 17++\n' > range.jvm
case_refused "a malformed JAVA_VERSION" \
  "The JVM description range.jvm has an invalid JAVA_VERSION: \"17++\" is not a version range (the forms are N, N+, N-M and full versions such as 17.0.5+) (the launcher would refuse it)" \
  instructions=instr.txt jvm=range.jvm verify=Verify.jar
printf 'JVM_EXE: bin/java\nJAVA_VERSION: 17+\nPREFER: latest\n' > prefer.jvm
case_refused "an unknown PREFER" \
  "The JVM description prefer.jvm has an invalid PREFER: \"latest\" (the values are newest and first)" \
  instructions=instr.txt jvm=prefer.jvm verify=Verify.jar

# What the launcher computes at run time is not judged, and a sound
# launcher is written without a word.
script "SET S1 = END" "GOTO @S1@" "ILAUNCH @N1@ 0" "VERIFY 0 0 2" "ILAUNCH 2 0" ":END"
status=0
printf 'JVM_EXE: bin/java\nJAVA_VERSION: 1.8.0_392-21\nPREFER: first\n' > ranged.jvm
"$LXPACK" create --stub "$LXLAUNCHER" -o out.bin instructions="$T/script.txt" launch-script=launch.txt jvm=a.jvm \
  verify=Verify.jar jvm=ranged.jvm 2> err.txt || status=$?
expect_eq "sound launcher: status" 0 "$status"
expect_eq "sound launcher: messages" "" "$(cat err.txt)"
