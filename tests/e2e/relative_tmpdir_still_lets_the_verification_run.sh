#!/usr/bin/env bash
# A relative TMPDIR is taken from the launcher's current directory and made
# absolute: the verification, which runs in the launcher's own directory,
# still finds its class, so SEARCH finds the JDK, and nothing is left
# behind.
source "$(dirname "$0")/common.inc"
source "$(dirname "$0")/discovery.inc"
# No verified answer remembered from another run: the verification runs.
export XDG_CACHE_HOME=$T/cache
matching_description match.jvm
printf 'ACTION: SEARCH\nJVM: %s\n' "$T/match.jvm" > search.tag

mkdir -p work/relative-tmp
cd work
run out env TMPDIR=relative-tmp ../setup.bin -lx:silent -lx:in ../search.tag
cd ..
expect_eq "status" 0 "$status"
IFS=$'\n' read -r -d '' found home file <<< "$out" || true
expect_eq "found" 1 "$found"
expect_eq "home" "$jdk" "$home"
expect_eq "the description's directory" "$T/work/relative-tmp" "$(dirname "$file")"
rm -f "$file"
[ -z "$(ls -A work/relative-tmp)" ] || fail "temporary files left behind: $(ls -A work/relative-tmp)"
