#!/usr/bin/env bash
# The launcher reads its archive from its own file, which it finds however
# it was started: by name through PATH or by a relative path, from another
# directory. A launcher without its archive would end with status 255.
# The file it reads is the one that runs, never one the working directory
# offers: a same-named file another user put there (even one that is not
# executable) is not read, and a same-named directory does not get in the
# way. That holds where /proc is missing too, where the name is looked up
# in PATH's absolute directories only. Started through a symbolic link, it
# is known by the link's path, where the user put it.
source "$(dirname "$0")/common.inc"
need_lxpack
script_launcher setup.bin "SET N1 = 1"

mkdir bin elsewhere
cp setup.bin bin/
(cd elsewhere && PATH="$T/bin:$PATH" setup.bin) || fail "started through PATH: status $?"
(cd elsewhere && ../setup.bin) || fail "started by a relative path: status $?"

# A planted launcher whose instructions fail: read, it would end with 255
# and say why.
script_launcher planted.bin "GOTO PLANTED" 2>/dev/null
mkdir planted-file planted-dir
cp planted.bin planted-file/setup.bin
chmod 644 planted-file/setup.bin
mkdir planted-dir/setup.bin
for where in planted-file planted-dir; do
  run out env -C "$where" PATH="$T/bin:$PATH" setup.bin
  expect_eq "status started through PATH in $where" 0 "$status"
  expect_eq "output started through PATH in $where" "" "$out"
done

# The same without /proc: the name is found through PATH, never in the
# working directory (nor through a relative PATH entry naming it). The
# sanitizers' runtime reads its options and does its leak check through
# /proc, so a sanitized launcher cannot run without it: the release build
# checks this.
without_proc() {
  unshare -m -- bash -c 'mount -t tmpfs -o size=1m noproc /proc || exit 99; exec "$@"' without_proc "$@"
}
if [ "${LX_SANITIZED:-0}" != "1" ]; then
  without_proc true || fail "cannot hide /proc: 'unshare -m' and mount were refused (the test needs root)"
  without_proc test -e /proc/self/exe && fail "/proc/self/exe is still there with /proc hidden"
  for where in planted-file planted-dir; do
    run out without_proc env -C "$where" PATH=".:$T/bin:$PATH" setup.bin
    expect_eq "status without /proc in $where" 0 "$status"
    expect_eq "output without /proc in $where" "" "$out"
  done
fi

# Through a link in PATH: %LAUNCHER_FILE% and %LAUNCHER_DIR% name the link.
fake_jvm "$T/jvm" 'for a in "$@"; do echo "$a"; done'
jvm_description run.jvm "$T/jvm"
printf 'DESC: Paths\nDISPLAY_CONSOLE: 1\nCOMMAND: """@JVM_HOME@/@JVM_EXE@"" """"%%LAUNCHER_FILE%%()"""" """"%%LAUNCHER_DIR%%()"""" "\n' > launch.txt
printf 'INSTRUCTIONS:\n  LAUNCH "%s" 0\n/:\n' "$T/run.jvm" > instructions.txt
mkdir real links
make_launcher real/paths.bin instructions=instructions.txt launch-script=launch.txt >/dev/null 2>&1
ln -s ../real/paths.bin links/paths.bin
run out env -C elsewhere PATH="$T/links:$PATH" paths.bin
expect_eq "paths started through a link in PATH (status $status)" "Paths
$T/links/paths.bin
$T/links" "$out"
