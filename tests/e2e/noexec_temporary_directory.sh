#!/usr/bin/env bash
# Programs extracted into a file system mounted noexec cannot run; the
# launcher says so, names the directory and suggests -lx:tempdir, instead of
# a bare "Permission denied" from the shell.
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

printf '#!/bin/sh\ntrue\n' > installer.sh
printf 'INSTRUCTIONS:\n  INSTALL_JVM 1\n/:\n' > install.txt
make_launcher install.bin instructions=install.txt jvm-installer=installer.sh >/dev/null
run out ./install.bin
expect_eq "installer noexec status" 255 "$status"
expect_contains "installer names the directory" "Cannot run the JVM installer from $T/noexec/lxj" "$out"
[ -z "$(ls -A noexec)" ] || fail "files left in the noexec directory: $(ls -A noexec)"
