#!/usr/bin/env bash
# An embedded launcher extracted into a file system mounted noexec cannot
# run; the launcher says so, names the directory and suggests -lx:tempdir,
# instead of a bare "Permission denied" from the shell, and removes what
# it extracted.
source "$(dirname "$0")/common.inc"
need_lxpack
mount_tmpfs noexec noexec,size=16m
export TMPDIR=$T/noexec

script_launcher inner.bin "SET N1 = 1"
printf 'INSTRUCTIONS:\n  EXECUTE_LAUNCHER 1\n/:\n' > outer.txt
make_launcher outer.bin instructions=outer.txt launcher=inner.bin >/dev/null
run out ./outer.bin
expect_eq "noexec status" 255 "$status"
expect_contains "names the directory" "Cannot run the embedded launcher from $T/noexec/lxj" "$out"
expect_contains "suggests -lx:tempdir" "Use -lx:tempdir" "$out"
[ -z "$(ls -A noexec)" ] || fail "files left in the noexec directory: $(ls -A noexec)"
