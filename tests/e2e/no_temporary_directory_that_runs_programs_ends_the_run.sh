#!/usr/bin/env bash
# The launcher looks for a temporary directory that allows running
# programs to the last candidate: TMPDIR, -lx:tempdir, /tmp, /var/tmp,
# $XDG_RUNTIME_DIR and a private directory in the user's cache, which it
# makes (0700) when every other one is mounted noexec. When that one cannot
# run programs either, the run ends before anything is extracted, with a
# message that names every directory tried, and nothing is left anywhere.
source "$(dirname "$0")/private_mounts.inc"
source "$(dirname "$0")/common.inc"
need_lxpack
# The launchers and stand-in programs are run from a mount of their own:
# the work directory itself becomes noexec with /tmp.
tmpfs_at "$T/run" size=256m
cd "$T/run"
tmpfs_at "$T/env" noexec
tmpfs_at "$T/option" noexec
tmpfs_at "$T/runtime" noexec
mount -o remount,noexec /tmp
mount -o remount,noexec /var/tmp
export TMPDIR=$T/env XDG_RUNTIME_DIR=$T/runtime

printf '#!/bin/sh\ntouch "%s/installer.ran"\n' "$T/run" > installer.sh
printf 'INSTRUCTIONS:\n  INSTALL_JVM 0\n/:\n' > install.txt
make_launcher install.bin instructions=install.txt jvm-installer=installer.sh >/dev/null
script_launcher inner.bin "SET N1 = 1"
printf 'INSTRUCTIONS:\n  EXECUTE_LAUNCHER 1\n/:\n' > outer.txt
make_launcher outer.bin instructions=outer.txt launcher=inner.bin >/dev/null
fake_jvm "$T/run/wizard" 'cp /bin/true "$1/native" && "$1/native" && echo "ran a program from $1"; rm -f "$1/native"'
jvm_description wizard.jvm "$T/run/wizard"
printf 'INSTRUCTIONS:\n  LAUNCH "%s" 0\n/:\n' "$T/run/wizard.jvm" > wizard.txt
printf 'DESC: App\nDISPLAY_CONSOLE: 1\nEXEC_TEMP_DIR: 1\nCOMMAND: """@JVM_HOME@/@JVM_EXE@"" ""%%TEMP_DIR%%()"""\n' > launch.txt
make_launcher wizard.bin instructions=wizard.txt launch-script=launch.txt >/dev/null

# The last candidate: a private directory in the user's cache.
export XDG_CACHE_HOME=$T/run/cache
private=$T/run/cache/lxlauncher/tmp
run out ./wizard.bin -lx:silent -lx:tempdir "$T/option"
expect_eq "cache: status" 0 "$status"
expect_eq "cache: %TEMP_DIR%() runs programs" "ran a program from $private" "$out"
expect_eq "cache: the private directory's mode" 700 "$(stat -c %a "$private")"
run out ./install.bin -lx:silent -lx:tempdir "$T/option"
expect_eq "cache: installer status" 0 "$status"
[ -e installer.ran ] || fail "cache: the installer did not run"
rm installer.ran
expect_eq "cache: left in the private directory" "" "$(ls -A "$private")"

# No candidate left: the cache is noexec as well.
tmpfs_at "$T/cache" noexec
export XDG_CACHE_HOME=$T/cache
message="No temporary directory allows running programs; tried: $T/env, $T/option, /tmp, /var/tmp, $T/runtime, $T/cache/lxlauncher/tmp. Point TMPDIR or -lx:tempdir at a directory on a file system that allows running programs."
for launcher in install.bin outer.bin wizard.bin; do
  run out "./$launcher" -lx:tempdir "$T/option"
  expect_eq "$launcher: status" 255 "$status"
  expect_eq "$launcher: the message names every directory tried" "$message" \
    "$(printf '%s\n' "$out" | sed -E 's/^\.+//; /^$/d; /^App$/d' | sort -u)"
done
[ ! -e installer.ran ] || fail "the installer ran"
for dir in "$T/env" "$T/option" /tmp /var/tmp "$T/runtime" "$T/cache/lxlauncher/tmp"; do
  expect_eq "left in $dir" "" "$(left_in "$dir")"
done
