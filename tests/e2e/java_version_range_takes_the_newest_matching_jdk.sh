#!/usr/bin/env bash
# A description with JAVA_VERSION takes the newest Java in its range among
# its hints, ordered by their release files, and starts only that one; the
# user's own JAVA_HOME still wins when it matches, PREFER: first keeps the
# hints' order, and a release file that lies gets no wrong Java accepted.
source "$(dirname "$0")/common.inc"
source "$(dirname "$0")/java_choice.inc"
export LX_JVM_CACHE=0
hints=("PATH_HINT:" "  $jdk17" "  $jdk25" "/:")

choose "JAVA_VERSION: 17+" "${hints[@]}"
expect_eq "17+ takes the newest" "$jdk25" "$chosen"
expect_eq "17+ starts one JVM" 1 "$(jvm_starts)"

choose "JAVA_VERSION: 11-21" "${hints[@]}"
expect_eq "11-21 takes 17" "$jdk17" "$chosen"
expect_eq "11-21 starts one JVM" 1 "$(jvm_starts)"
grep -qF "Skipping $jdk25/bin/java: its release file gives JAVA_VERSION 25" choose.log ||
  fail "25 was not ruled out by its release file: $(cat choose.log)"

choose "JAVA_VERSION: 17+" "PREFER: first" "${hints[@]}"
expect_eq "PREFER: first keeps the hints' order" "$jdk17" "$chosen"

choose "JAVA_VERSION: 26+" "${hints[@]}"
expect_eq "26+ finds none" "" "$chosen"
expect_eq "26+ starts no JVM" 0 "$(jvm_starts)"

# The user's JAVA_HOME first, when it matches; otherwise the newest.
JAVA_HOME=$jdk17 choose "JAVA_VERSION: 17+" "PLATFORM_HINT:" "  JAVA_HOME" "/:" "${hints[@]}"
expect_eq "a matching JAVA_HOME wins over a newer Java" "$jdk17" "$chosen"
JAVA_HOME=$jdk17 choose "JAVA_VERSION: 21+" "PLATFORM_HINT:" "  JAVA_HOME" "/:" "${hints[@]}"
expect_eq "a JAVA_HOME outside the range is passed over" "$jdk25" "$chosen"

# A release file that claims 30 for a Java 17 puts it first, but the
# version it reports decides.
mkdir -p liar/bin
printf '#!/bin/sh\necho started >> "%s"\nexec "%s/bin/java" "$@"\n' "$T/liar.starts" "$jdk17" > liar/bin/java
chmod +x liar/bin/java
printf 'JAVA_VERSION="30.0.1"\n' > liar/release
choose "JAVA_VERSION: 21+" "PATH_HINT:" "  $jdk17" "  $T/liar" "  $jdk25" "/:"
expect_eq "the lying home is not taken" "$jdk25" "$chosen"
expect_eq "the lying home was tried first" 1 "$(starts "$T/liar")"
grep -qF "No match at $T/liar/bin/java: java.version is 17" choose.log ||
  fail "the lying home's real version is not in the log: $(cat choose.log)"

# One java reached by several names is tried once.
ln -s "$jdk17" jdk17-link
choose "JAVA_VERSION: 17" "PATH_HINT:" "  $T/jdk17-link" "  $jdk17" "  $jdk17/" "/:"
expect_eq "the first name of the JDK 17" "$T/jdk17-link" "$chosen"
expect_eq "one start for one java" 1 "$(jvm_starts)"

# A range the launcher cannot read ends the search, naming the file,
# before any JVM is started.
printf 'DESC: Bad\nJVM_EXE: bin/java\nJAVA_VERSION: 17++\nPATH_HINT: %s\n' "$jdk17" > bad.jvm
printf 'INSTRUCTIONS:\n  FIND_JVM 0 1\n/:\n' > find.txt
make_launcher find.bin verify="$verify_jar" instructions=find.txt jvm=bad.jvm 2>/dev/null >/dev/null
run out ./find.bin -lx:log "$T/bad.log"
expect_eq "a malformed range: status" 255 "$status"
expect_contains "a malformed range: message" \
  'The JVM description bad.jvm has an invalid JAVA_VERSION: "17++" is not a version range (the forms are N, N+, N-M and full versions such as 17.0.5+)' \
  "$out"
if grep -q '"Verify"' bad.log; then fail "a JVM was started for a malformed range: $(cat bad.log)"; fi
[ -z "$(ls -A tmp)" ] || fail "temporary files left behind: $(ls -A tmp)"
