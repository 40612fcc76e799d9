#!/usr/bin/env bash
# Scripts run with jumps and variables; every failure names its line.
source "$(dirname "$0")/common.inc"
need_lxpack

# The path taken shows in the value that finally fails to parse as a number.
script_launcher jumps.bin \
  ":START" \
  "SET N1 = 0" \
  "JMP0 @N1@ SKIP" \
  "SET S1 = wrong-path" \
  ":SKIP" \
  "SET S2 = L2" \
  "GOTO @S2@" \
  "SET S1 = also-wrong" \
  ":L2" \
  "SET S1 = \"right path\"" \
  "SET N3 = @S1@"
run out ./jumps.bin
expect_eq "computed jumps" "Invalid value specified for SET command Invalid numeric expression in right path" "$out"
expect_eq "status" 255 "$status"

check_error() {  # LINE EXPECTED-MESSAGE
  script_launcher err.bin "SET N1 = 1" "$1"
  run out ./err.bin
  expect_eq "$1" "$2" "$out"
  expect_eq "$1 status" 255 "$status"
}
check_error "find_jvm 1 1" "Error in instructions. Invalid command (find_jvm).  Line number (2)"
check_error "GOTO NOWHERE" "Error in instructions. Label not found (NOWHERE) Line number (2)"
check_error "JMP0 0 NOWHERE" "Error in instructions. Label not found (NOWHERE) Line number (2)"
check_error "FIND_JVM 2 1" "Error in instructions.  Invalid boolean value (2) Line number (2)"
check_error "INSTALL_JVM 3" "Error in instructions. The first argument to INSTALL_JVM should be a 0, 1 or 2. Line number (2)"
check_error "SET N1 5" "Error in instructions. SET statement is missing =. Line number (2)"
check_error "SET Q1 = 5" "Invalid variable specified on left hand side of SET statement. Invalid variable reference (Q1). Must use N or S as the variable type, e.g. N2 or S1."
check_error "//note" "Error in instructions. Invalid command (//note).  Line number (2)"
check_error "LAUNCH \"/opt/x.jvm" "Expected ending quote in \"/opt/x.jvm:  Invalid jvm file name specified in LAUNCH."

# A comment and a jump that is not taken never look at their label.
script_launcher ok.bin "// anything at all" "SET N1 = 5" "JMP0 @N1@ NOWHERE"
run out ./ok.bin
expect_eq "comment and untaken jump" "" "$out"
expect_eq "comment and untaken jump status" 0 "$status"

# A syntax error in an embedded tag file names the entry and its line. The
# packer refuses such files, so a good launcher is damaged afterwards: the
# block's completer "/:" becomes "/x".
printf 'INSTRUCTIONS:\n  SET N1 = 1\n/:\n' > good.txt
make_launcher broken.bin --name instructions.txt instructions=good.txt >/dev/null
offset=$("$LXPACK" list -p broken.bin | awk -F'\t' '$1 == "entry" { print $5 }')
put_bytes broken.bin $((offset + 28)) 'x'
run out ./broken.bin
expect_eq "syntax error in the embedded instructions" "Unable to load the launcher file index. Syntax error in instructions.txt at line 1 ==> Missing /: tag completer." "$out"
expect_eq "syntax error status" 255 "$status"
