#!/usr/bin/env bash
# A run whose instructions end on their "no suitable JVM" path (the last
# FIND_JVM or VERIFY found nothing and nothing was launched after it) ends
# with 69, a status no other outcome of the launcher gives; a run that
# launched its application after the failed search still ends with the
# application's status, and one that found a JVM with 0.
source "$(dirname "$0")/common.inc"
need_lxpack
mkdir tmp
export TMPDIR=$T/tmp

# A stand-in JVM: it passes the verification (any vendor) and, as the
# application, ends with the status given as its last argument.
fake_jvm "$T/jvm" 'case "$*" in *Verify*) echo 1739021872; echo "Fake Vendor"; exit 0 ;; esac
for a; do last=$a; done; echo "application ran"; exit "$last"'
printf 'DESC: Fake\nJVM_EXE: bin/java\nCLASSPATH: "-cp "\nJVM_PROPERTIES:\n  java.vendor=...\n/:\nPATH_HINT:\n  %s\n/:\n' \
  "$T/jvm" > found.jvm
printf 'DESC: None\nJVM_EXE: bin/java\nJVM_HOME: /nonexistent/jdk\nCLASSPATH: "-cp "\nJVM_PROPERTIES:\n  java.specification.version=0.9\n/:\nPATH_HINT:\n  /nonexistent/jdk\n/:\n' > none.jvm
jvm_description app.jvm "$T/jvm"
printf 'COMMAND: """@JVM_HOME@/@JVM_EXE@"" app"\n' > launch.txt
printf 'INSTRUCTIONS:\n  SET N1 = 1\n/:\n' > embedded.txt
make_launcher setup.bin --id 0 instructions=embedded.txt --id 1 verify="$LX_BUILD_DIR/Verify.jar" \
  --id 2 launch-script=launch.txt --id 3 jvm=none.jvm >/dev/null

# case: the JVM descriptions searched | instructions (";" between lines) | the status
cases=(
  "none.jvm|FIND_JVM 0 0|69"
  "none.jvm|FIND_JVM 0 1|69"
  "none.jvm|VERIFY 0 0 3|69"
  "none.jvm|FIND_JVM 0 0;LAUNCH $T/app.jvm 0|5"
  "found.jvm|FIND_JVM 0 0;LAUNCH @S2@ 0|5"
  "found.jvm|FIND_JVM 0 0|0"
  "found.jvm|FIND_JVM 0 0;JMP0 @N1@ DONE;LAUNCH @S2@ 0;FIND_JVM 0 0;:DONE|5"
  "none.jvm|LAUNCH $T/app.jvm 0;FIND_JVM 0 0|69"
  "none.jvm|FIND_JVM 0 0;JMP0 @N1@ DONE;LAUNCH @S2@ 0;:DONE|69"
  "none.jvm|SET N1 = 1|0"
)
for c in "${cases[@]}"; do
  IFS='|' read -r jvm lines want <<<"$c"
  { echo "INSTRUCTIONS:"; tr ';' '\n' <<<"$lines" | sed 's/^/  /'; echo "/:"; } > case.txt
  printf 'ACTION: RUN_INSTRUCTIONS\nINSTRUCTIONS: case.txt\nJVM: %s\n' "$jvm" > case.tag
  run out ./setup.bin -lx:in case.tag 5 </dev/null
  expect_eq "status of [$lines] with $jvm (output: $out)" "$want" "$status"
done
[ -z "$(ls -A tmp)" ] || fail "temporary files left behind: $(ls -A tmp)"
