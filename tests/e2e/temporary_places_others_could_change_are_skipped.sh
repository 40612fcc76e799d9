#!/usr/bin/env bash
# What the launcher extracts into its temporary place it later runs, as
# whoever runs the launcher, root included: a place another user could
# change is passed over, and so is one that cannot be written, each with a
# log line that says why; the run goes on in the next place that passes,
# and nothing is made in the ones passed over.
# /tmp and /var/tmp are noexec here, so that a wizard that runs programs
# from its temporary directory (EXEC_TEMP_DIR) comes to $XDG_RUNTIME_DIR.
# There, one that belongs to another user (root keeps it after a plain su),
# one that anyone may write and one on a read-only file system are skipped
# for the private directory in the user's cache; a sound one is used. The
# same directories as TMPDIR give way to /tmp. And a second user whose
# TMPDIR is root's private directory goes on in /tmp instead of ending
# with "Permission denied".
source "$(dirname "$0")/second_user.inc"
source "$(dirname "$0")/private_mounts.inc"
source "$(dirname "$0")/common.inc"
need_lxpack
uid=$(id -u "$LX_OTHER_USER")
gid=$(id -g "$LX_OTHER_USER")

# The launchers and stand-in programs are run from a mount of their own:
# the work directory itself becomes noexec with /tmp.
tmpfs_at "$T/run" size=256m
cd "$T/run"
mount -o remount,noexec /tmp
mount -o remount,noexec /var/tmp
export XDG_CACHE_HOME=$T/run/cache
private=$T/run/cache/lxlauncher/tmp

# The wizard tells whether it could run a program from %TEMP_DIR%() and
# where its class path archive was extracted.
fake_jvm "$T/run/wizard" 'cp /bin/true "$1/native" && "$1/native" 2>/dev/null && echo "ran a program from $1" ||
  echo "no program runs from $1"
rm -f "$1/native"
echo "class path in $(dirname "$(dirname "$3")")"'
jvm_description wizard.jvm "$T/run/wizard"
printf 'INSTRUCTIONS:\n  LAUNCH "%s" 0\n/:\n' "$T/run/wizard.jvm" > wizard.txt
echo app > app.jar
for key in 0 1; do
  printf 'DESC: App\nDISPLAY_CONSOLE: 1\nEXEC_TEMP_DIR: %s\nCOMMAND: """@JVM_HOME@/@JVM_EXE@"" ""%%TEMP_DIR%%()"" %%CP%%()"\n' \
    "$key" > launch$key.txt
  make_launcher wizard$key.bin instructions=wizard.txt launch-script=launch$key.txt classpath=app.jar >/dev/null
done

tmpfs_at "$T/theirs" "mode=0700,uid=$uid,gid=$gid"
tmpfs_at "$T/open" mode=0777
tmpfs_at "$T/readonly" mode=0700,ro
tmpfs_at "$T/own" mode=0700

# directory | why it is not used as TMPDIR | why not as $XDG_RUNTIME_DIR
cases=(
  "theirs|$T/theirs belongs to user $uid|$T/theirs is not the user's own with mode 0700"
  "open|$T/open may be written by group or others and has no sticky bit|$T/open is not the user's own with mode 0700"
  "readonly|$T/readonly cannot be written: Read-only file system|$T/readonly cannot be written: Read-only file system"
)
for case in "${cases[@]}"; do
  IFS='|' read -r name as_tmpdir as_runtime <<< "$case"
  dir=$T/$name

  rm -f log
  run out env TMPDIR="$dir" ./wizard0.bin -lx:silent -lx:log "$T/run/log"
  expect_eq "TMPDIR $name: status" 0 "$status"
  expect_eq "TMPDIR $name: the run goes on in /tmp" "no program runs from /tmp
class path in /tmp" "$out"
  expect_contains "TMPDIR $name: the log says why" "WARNING: The temporary directory $dir is not used: $as_tmpdir." \
    "$(cat log)"
  expect_eq "TMPDIR $name: left in it" "" "$(ls -A "$dir")"

  rm -f log
  run out env XDG_RUNTIME_DIR="$dir" ./wizard1.bin -lx:silent -lx:log "$T/run/log"
  expect_eq "XDG_RUNTIME_DIR $name: status" 0 "$status"
  expect_eq "XDG_RUNTIME_DIR $name: the run goes on in the cache" "ran a program from $private
class path in $private" "$out"
  expect_contains "XDG_RUNTIME_DIR $name: the log says why" \
    "WARNING: The temporary directory $dir is not used: $as_runtime." "$(cat log)"
  expect_contains "XDG_RUNTIME_DIR $name: the log says where the files went" "Temporary files go to $private from now on" \
    "$(cat log)"
  expect_eq "XDG_RUNTIME_DIR $name: left in it" "" "$(ls -A "$dir")"
done

# A sound runtime directory, the user's own with mode 0700, is used.
run out env XDG_RUNTIME_DIR="$T/own" ./wizard1.bin -lx:silent -lx:log "$T/run/log"
expect_eq "own runtime directory: status" 0 "$status"
expect_eq "own runtime directory: used" "ran a program from $T/own
class path in $T/own" "$out"
expect_eq "own runtime directory: left in it" "" "$(ls -A "$T/own")"

# The second user, whose TMPDIR is root's private directory, which they
# cannot write.
mkdir -m 0700 rootonly
mkdir -m 0700 user
chown "$uid:$gid" user
chmod 0755 "$T"
run out env TMPDIR="$T/run/rootonly" XDG_CACHE_HOME="$T/run/user/cache" HOME="$T/run/user" \
  setpriv --reuid="$uid" --regid="$gid" --clear-groups ./wizard0.bin -lx:silent -lx:log "$T/run/user/log"
expect_eq "second user: status" 0 "$status"
expect_eq "second user: the run goes on in /tmp" "no program runs from /tmp
class path in /tmp" "$out"
expect_contains "second user: the log says why" \
  "WARNING: The temporary directory $T/run/rootonly is not used: $T/run/rootonly cannot be written: Permission denied." \
  "$(cat user/log)"

expect_eq "left in /tmp" "" "$(left_in /tmp)"
expect_eq "left in /var/tmp" "" "$(left_in /var/tmp)"
expect_eq "left in the cache's private directory" "" "$(ls -A "$private")"
