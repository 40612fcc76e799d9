#!/usr/bin/env bash
# A temporary directory that the launcher may use but where its own
# directory cannot be made (here: a file system without a free inode),
# where the class path archive must be extracted before the wizard runs:
# the launcher names the directory and the system's reason, ends with
# status 255 and does not start the wizard without its class path. (A
# directory that cannot be written at all is passed over for the next
# place: temporary_places_others_could_change_are_skipped.sh.)
source "$(dirname "$0")/common.inc"
need_lxpack
mount_tmpfs full size=1m,nr_inodes=1
export TMPDIR=$T/full

fake_jvm "$T/jvm" "touch '$T/wizard.ran'"
jvm_description app.jvm "$T/jvm"
printf 'DESC: App\nCOMMAND: """@JVM_HOME@/@JVM_EXE@"" %%CP%%() Main"\n' > launch.txt
printf 'INSTRUCTIONS:\n  LAUNCH "%s" 0\n/:\n' "$T/app.jvm" > launch-instructions.txt
echo "class path" > app.jar
make_launcher setup.bin instructions=launch-instructions.txt launch-script=launch.txt classpath=app.jar >/dev/null
run out ./setup.bin
expect_eq "launch: status" 255 "$status"
expect_eq "launch: message" "App
Error creating temporary directory $T/full: No space left on device" "$out"
[ ! -e wizard.ran ] || fail "the wizard ran without its class path"
[ -z "$(ls -A "$T" | grep '^lxj')" ] || fail "temporary files went to the working directory"
