#!/usr/bin/env bash
# Every error in a script ends the run with status 255 and a message that
# names what is wrong and, where the interpreter knows it, the line: the
# packager finds the fault without a debugger.
source "$(dirname "$0")/common.inc"
need_lxpack

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
