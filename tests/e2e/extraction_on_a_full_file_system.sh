#!/usr/bin/env bash
# Extraction into a temporary directory on a full file system fails with
# the message that suggests -lx:tempdir: without a number when the free
# space is checked first, with the system's error number when the file
# itself cannot be written. The launcher ends with status 255, the wizard
# does not run, and the temporary directory is removed.
source "$(dirname "$0")/common.inc"
need_lxpack
mount_tmpfs small size=64k
export TMPDIR=$T/small
hint=" There may not be enough temporary disk space. Try using -lx:tempdir to use a temporary directory on a partition with more disk space."

fake_jvm "$T/jvm" "touch '$T/wizard.ran'"
jvm_description app.jvm "$T/jvm"
printf 'DESC: App\nCOMMAND: """@JVM_HOME@/@JVM_EXE@"" %%CP%%() Main"\n' > launch.txt
printf 'INSTRUCTIONS:\n  LAUNCH "%s" 0\n/:\n' "$T/app.jvm" > instructions.txt
head -c 200000 /dev/urandom > app.jar
make_launcher setup.bin instructions=instructions.txt launch-script=launch.txt classpath=app.jar >/dev/null

# 64 KB cannot hold the 200 KB archive.
run out ./setup.bin
expect_eq "too little space: status" 255 "$status"
expect_eq "too little space: message" "App
Error writing file = $hint" "$out"
[ -z "$(ls -A small)" ] || fail "too little space: left behind: $(ls -A small)"

# Room for the bytes, but inodes for the root and the temporary directory
# only: the archive's file cannot be created.
umount "$T/small"
mount -t tmpfs -o size=4m,nr_inodes=2 tmpfs "$T/small"
run out ./setup.bin
expect_eq "no inode left: status" 255 "$status"
expect_eq "no inode left: message" "App
Error writing file = 28$hint" "$out"
[ -z "$(ls -A small)" ] || fail "no inode left: left behind: $(ls -A small)"
[ ! -e wizard.ran ] || fail "the wizard ran without its class path"
