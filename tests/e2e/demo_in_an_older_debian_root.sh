#!/usr/bin/env bash
# The demo launcher runs end to end in a root of an older Linux: Debian 11,
# whose C library (glibc 2.31) is older than the build machine's. A JDK of
# this machine that runs there is mounted into the root at its own path, as
# if installed; the launcher, started in the root, finds it by the demo's
# path hints, verifies it, starts the wizard, passes on the wizard's exit
# status and leaves nothing in the root's temporary directory.
#
# Slow: the first run makes the root with debootstrap (cached afterwards).
# Needs root (chroot, mounts); the mounts live in a mount namespace of this
# test's own, so they end with it whatever happens.
if [ "$(id -u)" = 0 ] && [ -z "${LX_PRIVATE_MOUNTS:-}" ]; then
  exec env LX_PRIVATE_MOUNTS=1 unshare -m --propagation private bash "$0" "$@"
fi
here=$(cd "$(dirname "$0")" && pwd)
source "$here/common.inc"
source "$here/foreign_roots.inc"
if [ "${LX_SANITIZED:-0}" = "1" ]; then
  skip "the sanitizer build's launcher needs this machine's sanitizer runtimes; the release build's program is the one run in the older root"
fi
[ "$(id -u)" = 0 ] || skip "needs root, for chroot and mounts"
demo=$LX_BUILD_DIR/demo/setup.bin
[ -x "$demo" ] || fail "the demo launcher was not built: $demo"

root=$(debian_root bullseye)

# The root is shared between runs and never written: everything this test
# changes lands in an overlay's upper layer under $T.
R=$T/root
mkdir upper overlay-work "$R"
mount -t overlay overlay -o "lowerdir=$root,upperdir=$T/upper,workdir=$T/overlay-work" "$R" ||
  fail "cannot mount an overlay of $root"
# Unmount before $T is removed, so that removing $T can never reach through
# the root into a mounted JDK; rm does not leave $T's file system either.
trap 'umount -R "$R" 2>/dev/null; rm -rf --one-file-system "$T"' EXIT
mount -t proc proc "$R/proc" || fail "cannot mount /proc in the root"
# The root's device nodes may be missing or unusable (debootstrap cannot
# always make them); the host's are.
mount --rbind /dev "$R/dev" || fail "cannot mount /dev in the root"

# It is the older system this test is about.
libc=$(chroot "$R" dpkg-query -W -f '${Version}' libc6) || fail "no libc6 in the root"
case $libc in 2.31-*) ;; *) fail "the Debian 11 root has glibc $libc, not 2.31" ;; esac
[ -z "$(ls -A "$R/tmp")" ] || fail "the root's /tmp is not empty at the start: $(ls -A "$R/tmp")"

# A JDK of this machine that runs with the root's C library (Debian 12's own
# JDKs need a newer one), mounted read-only at its own path.
jdk=
tried=
for d in /usr/lib/jvm/*/; do
  d=${d%/}
  [ -L "$d" ] || [ ! -x "$d/bin/java" ] && continue
  mkdir -p "$R$d"
  mount --bind "$d" "$R$d" && mount -o remount,bind,ro "$R$d" || fail "cannot mount $d in the root"
  if chroot "$R" "$d/bin/java" -version >"$T/java-version.txt" 2>&1; then
    jdk=$d
    break
  fi
  tried+="  $d: $(tail -n 1 "$T/java-version.txt")"$'\n'
  umount "$R$d"
  rmdir "$R$d"
done
[ -n "$jdk" ] || fail "no JDK under /usr/lib/jvm runs in a Debian 11 root (glibc 2.31):
${tried:-  (none installed)}
this test needs one built for older systems"
echo "JDK used in the root: $jdk"

# What a user of that system does: copy the launcher there and run it, with
# the environment of a login shell there (no JAVA_HOME: the hints find it).
cp "$demo" "$R/root/setup.bin"
in_root() {
  chroot "$R" /usr/bin/env -i PATH=/usr/local/bin:/usr/bin:/bin HOME=/root LANG=C \
    /bin/sh -c 'cd /root && exec "$@"' sh "$@" </dev/null
}

run out in_root /root/setup.bin extra-arg
err=$(cat "$T/.stderr")
expect_eq "demo status in the Debian 11 root (stderr: $err)" 0 "$status"
expect_contains "start-up status" "Initializing Demo Setup Wizard..." "$out"
expect_contains "search status" "Searching for Java(tm) Virtual Machine..." "$out"
expect_contains "greeting" "Welcome to the demo setup wizard." "$out"
expect_contains "the JDK found and verified" "lx.jvm.home = $jdk" "$out"
case $out in
  *"Scanning disk(s)"*) fail "the demo's path hints did not find $jdk: it was found by scanning the disk" ;;
esac
expect_contains "the wizard runs on that JDK" "at $jdk" "$out"
expect_contains "the launcher's own path" "lx.launcher.file = /root/setup.bin" "$out"
expect_contains "pass-on argument" "arguments = [run] [extra-arg]" "$out"
expect_contains "finished" "Setup finished." "$out"

run out in_root /root/setup.bin -lx:javahome "$jdk" --exit=5
expect_eq "status of the wizard in the root" 5 "$status"
expect_contains "the given JDK" "lx.jvm.home = $jdk" "$out"

# Messages of every language, in UTF-8 and in the legacy encodings, come from
# the launcher's own tables: with that system's converter modules and
# locale files present (a static program that loaded them would abort), each
# language still says that the input file cannot be opened, and the launcher
# ends with its failure status 255.
for code in $(sed -n 's/^0 "\(.*\)"$/\1/p' "$LX_SOURCE_DIR"/src/messages/translations/*.txt); do
  for locale in "$code.UTF-8" "$code"; do
    run out chroot "$R" /usr/bin/env -i LANG="$locale" /root/setup.bin -lx:in /root/missing.tag
    expect_eq "status with LANG=$locale in the Debian 11 root (stderr: $(cat "$T/.stderr"))" 255 "$status"
    [ -n "$(tail -n 1 <<<"$out")" ] || fail "no message with LANG=$locale in the Debian 11 root"
  done
done

# Nothing left in the root's /tmp but the JVMs' own (empty) performance
# data directory, which every JVM there makes.
left=$(cd "$R/tmp" && find . -mindepth 1 ! -path './hsperfdata_*' -o -path './hsperfdata_*/*')
[ -z "$left" ] || fail "temporary files left in the root's /tmp: $left"
