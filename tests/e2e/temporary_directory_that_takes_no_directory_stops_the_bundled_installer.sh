#!/usr/bin/env bash
# A temporary directory that the launcher may use but where its own
# directory cannot be made (here: a file system without a free inode),
# where the bundled JVM installer must be extracted: the launcher names the
# directory and the system's reason, ends with status 255 (also in silent
# mode) and does not start the installer, nor put its files in the working
# directory instead.
source "$(dirname "$0")/common.inc"
need_lxpack
mount_tmpfs full size=1m,nr_inodes=1
export TMPDIR=$T/full

printf '#!/bin/sh\ntouch "%s/installer.ran"\n' "$T" > installer.sh
printf 'INSTRUCTIONS:\n  INSTALL_JVM 1\n/:\n' > install-instructions.txt
make_launcher install.bin instructions=install-instructions.txt jvm-installer=installer.sh >/dev/null
run out ./install.bin -lx:silent
expect_eq "installer: status in silent mode" 255 "$status"
run out ./install.bin
expect_eq "installer: status" 255 "$status"
expect_contains "installer: message" "Error creating temporary directory $T/full: No space left on device" "$out"
[ ! -e installer.ran ] || fail "the installer ran"
[ -z "$(ls -A "$T" | grep '^lxj')" ] || fail "temporary files went to the working directory"
