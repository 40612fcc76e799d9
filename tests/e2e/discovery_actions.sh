#!/usr/bin/env bash
# The input-file actions a calling program uses: SEARCH, VERIFY_JVM and
# SEARCH_ALL answer on standard output, even in silent mode, and the JVM
# descriptions they name outlive the launcher.
source "$(dirname "$0")/common.inc"
need_lxpack
jdk=$(find_jdk)
verify_jar=$LX_BUILD_DIR/Verify.jar
[ -f "$verify_jar" ] || fail "the verification jar was not built: $verify_jar"
mkdir tmp
export TMPDIR=$T/tmp
version=$("$jdk/bin/java" -XshowSettings:properties -version 2>&1 | sed -n 's/^ *java.specification.version = //p')
[ -n "$version" ] || fail "cannot read java.specification.version of $jdk"

printf 'INSTRUCTIONS:\n  SET N1 = 1\n/:\n' > instructions.txt

make_launcher setup.bin verify="$verify_jar" instructions=instructions.txt >/dev/null
cat > match.jvm <<JVM
DESC: Matching JDK
JVM_EXE: bin/java
CLASSPATH: "-cp "
CLASSPATH_SEPARATOR: :
JVM_PROPERTIES:
  java.specification.version=$version
  java.vendor=...
/:
PATH_HINT:
  $jdk
/:
JVM
cat > nomatch.jvm <<'JVM'
DESC: No such JVM
JVM_EXE: bin/java
JVM_PROPERTIES:
  java.specification.version=0.9
/:
PATH_HINT:
  /nonexistent/jdk
/:
JVM

printf 'ACTION: SEARCH\nJVM: %s\n' "$T/match.jvm" > search.tag
run out ./setup.bin -lx:silent -lx:in search.tag
expect_eq "SEARCH status" 0 "$status"
IFS=$'\n' read -r -d '' found home file <<< "$out" || true
expect_eq "SEARCH found" 1 "$found"
expect_eq "SEARCH home" "$jdk" "$home"
[ -f "$file" ] || fail "the written description $file did not outlive the launcher"
grep -qx "JVM_HOME:  $jdk" "$file" || fail "JVM_HOME missing in $file"
grep -qx "JVM_FILE:  $file" "$file" || fail "JVM_FILE missing in $file"
grep -qx "JVM_TEMP:  0" "$file" || fail "JVM_TEMP missing in $file"
grep -qx "DESC:  Matching JDK" "$file" || fail "the description's own tags missing in $file"
rm -f "$file"
[ -z "$(ls -A tmp)" ] || fail "temporary files left behind: $(ls -A tmp)"

printf 'ACTION: SEARCH\nJVM: %s\n' "$T/nomatch.jvm" > search0.tag
run out ./setup.bin -lx:in search0.tag
expect_eq "SEARCH without a match" "0" "$out"
expect_eq "SEARCH without a match status" 0 "$status"

printf 'ACTION: VERIFY_JVM\nVERIFY_JVM_FILE: %s\nVERIFY_JVM_HOME: %s\n' "$T/match.jvm" "$jdk" > verify.tag
run out ./setup.bin -lx:in verify.tag
expect_eq "VERIFY_JVM of a matching home" "1" "$out"
printf 'ACTION: VERIFY_JVM\nVERIFY_JVM_FILE: %s\nVERIFY_JVM_HOME: %s\n' "$T/nomatch.jvm" "$jdk" > verify0.tag
run out ./setup.bin -lx:in verify0.tag
expect_eq "VERIFY_JVM of a home that does not match" "0" "$out"

# SEARCH_ALL walks every file system and finds every JDK of the machine.
printf 'ACTION: SEARCH_ALL\nJVM:\n  %s\n/:\n' "$T/any.jvm" > all.tag
printf 'DESC: Any JVM\nJVM_EXE: bin/java\nCLASSPATH: "-cp "\nJVM_PROPERTIES:\n  java.vendor=...\n/:\n' > any.jvm
run out ./setup.bin -lx:in all.tag
expect_eq "SEARCH_ALL status" 0 "$status"
count=$(printf '%s\n' "$out" | head -1)
[ "$count" -ge 1 ] || fail "SEARCH_ALL found nothing: $out"
expect_eq "SEARCH_ALL answers two lines per match" $((1 + 2 * count)) "$(printf '%s\n' "$out" | wc -l)"
for d in /usr/lib/jvm/*/; do
  d=${d%/}
  [ -L "$d" ] || [ ! -x "$d/bin/java" ] && continue
  printf '%s\n' "$out" | grep -qxF "$d" || fail "SEARCH_ALL missed $d: $out"
done
printf '%s\n' "$out" | sed -n '3~2p' | xargs rm -f

# A failure inside SEARCH gives no answer line and no console message, but
# the log says what went wrong (here an unquoted verification class path,
# which the launch script's argument reader refuses).
printf 'ACTION: SEARCH\nJVM: %s\nVERIFY_CLASSPATH: /x.jar\nVERIFY_CLASS_NAME: Verify\nLOGFILE: %s\n' "$T/match.jvm" "$T/search.log" > broken.tag
run out ./setup.bin -lx:in broken.tag
expect_eq "no answer after a failure" "" "$out"
expect_eq "status after a failed search" 0 "$status"
grep -q '^ERROR: Launch script error: Expected string arg. (near character' search.log || fail "the failure is not in the log: $(cat search.log)"
