#!/usr/bin/env bash
# A JVM tag in the input file replaces the embedded JVM descriptions, even
# when its one value is empty (a calling program's way of saying "search for
# none of them"). A block of JVM values holding only "" lines has no values
# at all, so the embedded descriptions stay in use.
source "$(dirname "$0")/common.inc"
need_lxpack
mkdir tmp
export TMPDIR=$T/tmp

# A stand-in JVM that passes the verification the embedded description asks for.
fake_jvm "$T/good" 'case " $* " in *" Verify "*) printf "1739021872\nFake Vendor\n" ;; esac'
printf 'DESC: Fake\nJVM_EXE: bin/java\nCLASSPATH: "-cp "\nJVM_PROPERTIES:\n  java.vendor=Fake Vendor\n/:\nPATH_HINT:\n  %s\n/:\n' "$T/good" > embedded.jvm
echo "verification class" > Verify.jar
printf 'INSTRUCTIONS:\n  FIND_JVM 0 0\n  JMP0 @N1@ NONE\n  SET N2 = found\n  :NONE\n  SET N2 = none\n/:\n' > instructions.txt
make_launcher setup.bin instructions=instructions.txt jvm=embedded.jvm verify=Verify.jar >/dev/null
found="Invalid value specified for SET command Invalid numeric expression in found"
none="Invalid value specified for SET command Invalid numeric expression in none"

run out ./setup.bin
expect_eq "without an input file the embedded description finds the JVM" "$found" "$out"

printf 'ACTION: RUN_INSTRUCTIONS\nJVM: ""\n' > empty.tag
run out ./setup.bin -lx:in empty.tag
expect_eq "an empty JVM value replaces the embedded descriptions" "$none" "$out"

printf 'DESC: Other\nJVM_EXE: bin/java\n' > other.jvm
printf 'ACTION: RUN_INSTRUCTIONS\nJVM:\n  %s\n/:\n' "$T/other.jvm" > other.tag
run out ./setup.bin -lx:in other.tag
expect_eq "the input file's own description replaces the embedded one" "$none" "$out"

printf 'ACTION: RUN_INSTRUCTIONS\nJVM:\n  ""\n/:\n' > emptyblock.tag
run out ./setup.bin -lx:in emptyblock.tag
expect_eq "a block of empty lines leaves the embedded descriptions" "$found" "$out"
[ -z "$(ls -A tmp)" ] || fail "temporary files left behind: $(ls -A tmp)"
