#!/usr/bin/env bash
# A temporary directory on a read-only file system: the launcher names the
# directory and the system's reason, ends with status 255, and starts
# neither the wizard nor the bundled installer.
source "$(dirname "$0")/common.inc"
need_lxpack
mount_tmpfs ro ro,size=1m
export TMPDIR=$T/ro
message="Error creating temporary directory $T/ro: Read-only file system"

# The class path archive needs a temporary directory before the wizard runs.
fake_jvm "$T/jvm" "touch '$T/wizard.ran'"
jvm_description app.jvm "$T/jvm"
printf 'DESC: App\nCOMMAND: """@JVM_HOME@/@JVM_EXE@"" %%CP%%() Main"\n' > launch.txt
printf 'INSTRUCTIONS:\n  LAUNCH "%s" 0\n/:\n' "$T/app.jvm" > launch-instructions.txt
echo "class path" > app.jar
make_launcher setup.bin instructions=launch-instructions.txt launch-script=launch.txt classpath=app.jar >/dev/null
run out ./setup.bin
expect_eq "launch: status" 255 "$status"
expect_eq "launch: message" "App
$message" "$out"
[ ! -e wizard.ran ] || fail "the wizard ran without its class path"

printf '#!/bin/sh\ntouch "%s/installer.ran"\n' "$T" > installer.sh
printf 'INSTRUCTIONS:\n  INSTALL_JVM 1\n/:\n' > install-instructions.txt
make_launcher install.bin instructions=install-instructions.txt jvm-installer=installer.sh >/dev/null
run out ./install.bin -lx:silent
expect_eq "installer: status" 255 "$status"
run out ./install.bin
expect_contains "installer: message" "$message" "$out"
[ ! -e installer.ran ] || fail "the installer ran"
[ -z "$(ls -A "$T" | grep '^lxj')" ] || fail "temporary files went to the working directory"
