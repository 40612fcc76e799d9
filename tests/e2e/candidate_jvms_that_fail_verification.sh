#!/usr/bin/env bash
# Candidate JVMs that fail the way a broken machine makes them fail: one
# crashes, one prints garbage, one prints the magic line and dies before the
# required properties. None is taken: the search goes on to the next
# candidate and launches the first sound one, and with only broken ones it
# finds nothing. Nothing is left in TMPDIR either way.
source "$(dirname "$0")/common.inc"
need_lxpack
mkdir tmp
export TMPDIR=$T/tmp
magic=1739021872

# No core files from the crashes in the launcher's directory.
fake_jvm "$T/crash" 'ulimit -c 0; kill -SEGV $$'
fake_jvm "$T/garbage" 'head -c 3000 /dev/urandom; printf "\nnot a verification line\n"'
fake_jvm "$T/dies" "ulimit -c 0; echo $magic; kill -SEGV \$\$"
# The sound one verifies, and as the wizard reports where it ran from.
fake_jvm "$T/good" "case \" \$* \" in
  *' Verify '*) printf '$magic\nFake Vendor\n1.8.0_99\n' ;;
  *) echo \"wizard from \$JAVA_HOME\" >&2; exit 3 ;;
esac"

cat > candidates.jvm <<'JVM'
DESC: Fake JVM
JVM_EXE: bin/java
CLASSPATH: "-cp "
CLASSPATH_SEPARATOR: :
JVM_PROPERTIES:
  java.vendor=Fake Vendor
  java.version=1.8...
/:
PLATFORM_HINT:
  LX_TEST_HOMES
/:
JVM
printf 'DESC: App\nCOMMAND: """@JVM_HOME@/@JVM_EXE@"" Main"\n' > launch.txt
printf 'INSTRUCTIONS:\n  FIND_JVM 0 1\n  JMP0 @N1@ NONE\n  LAUNCH @S2@ 0\n  :NONE\n/:\n' > instructions.txt
echo "verification class" > Verify.jar
make_launcher setup.bin instructions=instructions.txt launch-script=launch.txt jvm=candidates.jvm verify=Verify.jar >/dev/null

# The user's Java home crashes; the hints hold garbage, an early death and,
# last, the sound one.
LX_TEST_HOMES="$T/garbage:$T/dies:$T/good" run out ./setup.bin -lx:javahome "$T/crash" -lx:log "$T/found.log"
if grep -q "is not available in this build" <<< "$out"; then skip "FIND_JVM is not available in this build: $out"; fi
expect_eq "the sound candidate's wizard ran: status" 3 "$status"
expect_eq "the sound candidate's wizard ran: output" "App
wizard from $T/good" "$out"
for home in crash garbage dies good; do
  grep -qxF "Verifying JVM at $T/$home/bin/java" found.log || fail "$home was not verified: $(cat found.log)"
done
grep -qxF "Matching JVM home is $T/good" found.log || fail "the match is not the sound candidate: $(cat found.log)"
[ -z "$(ls -A tmp)" ] || fail "left in TMPDIR: $(ls -A tmp)"

# Broken candidates only: nothing found, said so, and nothing launched.
LX_TEST_HOMES="$T/garbage:$T/dies" run out ./setup.bin -lx:javahome "$T/crash" -lx:log "$T/none.log"
expect_eq "nothing found: status" 0 "$status"
expect_eq "nothing found: message" "App
A suitable JVM could not be found. Please run the installer again using the option -lx:javahome <JAVA HOME DIR>" "$out"
if grep -q "Matching JVM home" none.log; then fail "a broken candidate was taken: $(cat none.log)"; fi
# Why each was refused: no output at all, no magic line, no properties.
for reason in "ERROR: Invalid magic value: " "ERROR: Invalid magic value: not a verification line" \
  "WARNING: The verification output ended before the value of java.vendor."; do
  grep -aqxF "$reason" none.log || fail "not logged: $reason"
done
[ -z "$(ls -A tmp)" ] || fail "left in TMPDIR: $(ls -A tmp)"
[ -z "$(ls "$T" | grep '^core')" ] || fail "core files left: $(ls "$T" | grep '^core')"
