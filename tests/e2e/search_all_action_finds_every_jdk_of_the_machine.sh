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
count=$(printf '%s\n' "$out" | head -1)
[ "$count" -ge 1 ] || fail "SEARCH_ALL found nothing: $out"
expect_eq "SEARCH_ALL answers two lines per match" $((1 + 2 * count)) "$(printf '%s\n' "$out" | wc -l)"
for d in /usr/lib/jvm/*/; do
  d=${d%/}
  [ -L "$d" ] || [ ! -x "$d/bin/java" ] && continue
  printf '%s\n' "$out" | grep -qxF "$d" || fail "SEARCH_ALL missed $d: $out"
done
printf '%s\n' "$out" | sed -n '3~2p' | xargs rm -f
