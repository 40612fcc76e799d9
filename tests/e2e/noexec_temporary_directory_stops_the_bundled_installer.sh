#!/usr/bin/env bash
# A bundled JVM installer extracted into a file system mounted noexec
# cannot run; the launcher says so and names the directory, instead of a
# bare "Permission denied" from the shell, and removes what it extracted.
source "$(dirname "$0")/common.inc"
need_lxpack
mount_tmpfs noexec noexec,size=16m
export TMPDIR=$T/noexec

printf '#!/bin/sh\ntrue\n' > installer.sh
printf 'INSTRUCTIONS:\n  INSTALL_JVM 1\n/:\n' > install.txt
make_launcher install.bin instructions=install.txt jvm-installer=installer.sh >/dev/null
run out ./install.bin
expect_eq "installer noexec status" 255 "$status"
expect_contains "installer names the directory" "Cannot run the JVM installer from $T/noexec/lxj" "$out"
[ -z "$(ls -A noexec)" ] || fail "files left in the noexec directory: $(ls -A noexec)"
