#!/usr/bin/env bash
# An input file named after -lx:in replaces the embedded scripts or asks for
# one job; its failures reach the user in their final wording.
source "$(dirname "$0")/common.inc"
need_lxpack
script_launcher setup.bin "SET S1 = embedded" "SET N1 = @S1@"

run out ./setup.bin -lx:in "$T/missing.tag"
expect_eq "missing input file" "Could not load the input file.Unable to open input file specified on the command line after the -in option.
Unable to open input file specified on the command line after the -in option." "$out"
expect_eq "missing input file status" 255 "$status"

printf 'LOGFILE: %s\n' "$T/in.log" > noaction.tag
run out ./setup.bin -lx:in noaction.tag
expect_eq "no ACTION" "Invalid action in input file: 
Invalid action in input file: " "$out"
expect_eq "no ACTION status" 255 "$status"
grep -qx 'ERROR: Invalid action in input file: ' "$T/in.log" || fail "invalid action not logged"

printf 'ACTION: FLY\n' > fly.tag
run out ./setup.bin -lx:in fly.tag
expect_eq "unknown ACTION" "Invalid action in input file: FLY
Invalid action in input file: FLY" "$out"

# VERIFY_JVM without a home: nothing on the console, an error in the log.
printf 'ACTION: VERIFY_JVM\nVERIFY_JVM_FILE: x.jvm\nLOGFILE: %s\n' "$T/verify.log" > verify.tag
run out ./setup.bin -lx:in verify.tag
expect_eq "VERIFY_JVM without home prints nothing" "" "$out"
expect_eq "VERIFY_JVM without home status" 255 "$status"
grep -qx 'ERROR: TO execute the VERIFY_JVM action, you must also provide values in the input file for VERIFY_JVM_FILE and VERIFY_JVM_HOME.' "$T/verify.log" \
  || fail "VERIFY_JVM error not logged"

# The input file's own instructions win over the embedded ones; a quoted
# name is opened without its quotes but logged with them.
printf 'INSTRUCTIONS:\n  SET S2 = from-input\n  SET N2 = @S2@\n/:\n' > mine.txt
printf 'ACTION: RUN_INSTRUCTIONS\nINSTRUCTIONS: mine.txt\nLOGFILE: %s\n' "$T/run.log" > run.tag
run out ./setup.bin -lx:log "$T/run.log" -lx:in '"run.tag"'
expect_eq "input instructions" "Invalid value specified for SET command Invalid numeric expression in from-input" "$out"
grep -qx 'Loading input file "run.tag"' "$T/run.log" || fail "quoted input name not logged as given"
expect_eq "input instructions status" 255 "$status"

# The log named by -lx:log before -lx:in is replaced by the input file's
# LOGFILE; an input file without one switches logging off.
printf 'ACTION: RUN_INSTRUCTIONS\n' > nolog.tag
run out ./setup.bin -lx:log "$T/before.log" -lx:in nolog.tag
grep -q 'Loading input file nolog.tag' "$T/before.log" || fail "input file load not logged"
if grep -q 'Error in instructions' "$T/before.log"; then fail "logging went on after an input file without LOGFILE"; fi

# A JVM tag with only empty values still replaces the embedded descriptions.
printf 'ACTION: RUN_INSTRUCTIONS\nJVM:\n  ""\n/:\n' > emptyjvm.tag
run out ./setup.bin -lx:in emptyjvm.tag
expect_contains "empty JVM list accepted" "Invalid numeric expression in embedded" "$out"
