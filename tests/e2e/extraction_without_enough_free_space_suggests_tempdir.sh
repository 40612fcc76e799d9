#!/usr/bin/env bash
# Extraction into a temporary directory without room for the archive's
# files fails before writing, with the message that suggests -lx:tempdir
# (without an error number: the free space was checked first). The
# launcher ends with status 255, the wizard does not run, and the temporary
# directory is removed.
source "$(dirname "$0")/common.inc"
need_lxpack
mount_tmpfs small size=64k
export TMPDIR=$T/small
source "$(dirname "$0")/tight_temporary_directory.inc"

# 64 KB cannot hold the 200 KB archive.
run out ./setup.bin
expect_eq "too little space: status" 255 "$status"
expect_eq "too little space: message" "App
Error writing file = $hint" "$out"
[ -z "$(ls -A small)" ] || fail "too little space: left behind: $(ls -A small)"
[ ! -e wizard.ran ] || fail "the wizard ran without its class path"
