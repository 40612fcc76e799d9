#!/usr/bin/env bash
# Extraction into a temporary directory where the archive's file cannot be
# written although the space is there fails with the file and the system's
# reason, and, the reason being a lack of space, the message that suggests
# -lx:tempdir. The launcher ends with status
# 255, the wizard does not run, and the temporary directory is removed.
source "$(dirname "$0")/common.inc"
need_lxpack
# Room for the bytes, but inodes for the root and the temporary directory
# only: the archive's file cannot be created (ENOSPC, 28).
mount_tmpfs small size=4m,nr_inodes=2
export TMPDIR=$T/small
source "$(dirname "$0")/tight_temporary_directory.inc"

run out ./setup.bin
expect_eq "no inode left: status" 255 "$status"
case "$out" in
  "App
Error writing file = $T/small/"*"/app.jar: No space left on device.$hint") ;;
  *) fail "no inode left: message: $out" ;;
esac
[ -z "$(ls -A small)" ] || fail "no inode left: left behind: $(ls -A small)"
[ ! -e wizard.ran ] || fail "the wizard ran without its class path"
