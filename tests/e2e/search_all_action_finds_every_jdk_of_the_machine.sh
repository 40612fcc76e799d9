#!/usr/bin/env bash
# The SEARCH_ALL action walks every file system and answers with every JVM
# that matches: their count, then a home and a written description for
# each. Every JDK installed under /usr/lib/jvm must be among them.
source "$(dirname "$0")/common.inc"
source "$(dirname "$0")/discovery.inc"

printf 'ACTION: SEARCH_ALL\nJVM:\n  %s\n/:\n' "$T/any.jvm" > all.tag
printf 'DESC: Any JVM\nJVM_EXE: bin/java\nCLASSPATH: "-cp "\nJVM_PROPERTIES:\n  java.vendor=...\n/:\n' > any.jvm
run out ./setup.bin -lx:in all.tag
expect_eq "SEARCH_ALL status" 0 "$status"
# Here-strings, not pipes: grep -q and head stop reading at their line, and
# the shell's printf, writing line by line, would then fail on the closed
# pipe now and then.
count=$(head -1 <<< "$out")
[ "$count" -ge 1 ] || fail "SEARCH_ALL found nothing: $out"
expect_eq "SEARCH_ALL answers two lines per match" $((1 + 2 * count)) "$(wc -l <<< "$out")"
for d in /usr/lib/jvm/*/; do
  d=${d%/}
  [ -L "$d" ] || [ ! -x "$d/bin/java" ] && continue
  grep -qxF "$d" <<< "$out" || fail "SEARCH_ALL missed $d: $out"
done
sed -n '3~2p' <<< "$out" | xargs rm -f
