#!/usr/bin/env bash
# A home the launcher finds by itself is started only when nobody but root
# and the user running the launcher could have put its java there. A real
# second user owns a vendor directory under /opt and the Linuxbrew prefix,
# each holding a home whose release file claims Java 99; root runs a
# one-command launcher (lxpack create --main-jar) and the demo, which both
# search the known locations: neither home is started (each java notes its
# starts), the log names both and why, and the root-owned home beside them,
# which claims Java 98, is chosen. Given to root, the same homes are used:
# the Linuxbrew one while the /opt one is still the user's, then the /opt
# one, found first. Given back to the user, they are used when that user
# runs the launchers.
#
# /opt and /home are fresh tmpfs mounts that only this test sees, so that no
# other test meets the planted homes; the user is removed at the end, even
# after a failure.
if [ "$(id -u)" != 0 ]; then
  echo "SKIPPED: needs root: it adds a user (useradd) and gives directories to them"
  exit 77
fi
source "$(dirname "$0")/private_mounts.inc"
source "$(dirname "$0")/common.inc"
source "$(dirname "$0")/jar_launcher.inc"
export LX_JVM_CACHE=0
unset JAVA_HOME JDK_HOME
jdk=$(find_jdk)
[ -x "$LX_BUILD_DIR/demo/setup.bin" ] || fail "the demo launcher was not built: $LX_BUILD_DIR/demo/setup.bin"
private_tmpfs /opt 16m
private_tmpfs /home 16m
chmod 755 /opt /home

user=lxtrust$$$RANDOM
planted=()
cleanup() {
  cd /
  if [ -n "${uid:-}" ]; then
    userdel "$user" 2>/dev/null || echo "WARNING: could not remove the user $user" >&2
    if getent group "$user" >/dev/null; then groupdel "$user" || true; fi
  fi
  if [ ${#planted[@]} -gt 0 ]; then rm -rf "${planted[@]}"; fi
  rm -rf "$T"
}
trap cleanup EXIT
! id "$user" >/dev/null 2>&1 || fail "the user $user exists already"
useradd --no-create-home --home-dir /nonexistent --shell /usr/sbin/nologin --user-group "$user" ||
  fail "useradd $user failed"
uid=$(id -u "$user")
gid=$(id -g "$user")

chmod 755 "$T"
markers=$T/markers
mkdir -m 1777 "$markers" "$T/logs"
mkdir "$T/home" "$T/tmp-root" "$T/tmp-$user" "$T/cache-$user"
chown "$user:" "$T/tmp-$user" "$T/cache-$user"

# plant HOME NAME VERSION: a home whose bin/java notes each start in
# $markers/NAME.starts and runs the JDK of this machine, with a release file
# that gives VERSION.
plant() {
  mkdir -p "$1/bin"
  printf '#!/bin/sh\necho "$0" >> %s/%s.starts\nexec %s/bin/java "$@"\n' "$markers" "$2" "$jdk" > "$1/bin/java"
  chmod 755 "$1/bin/java"
  printf 'JAVA_VERSION="%s"\n' "$3" > "$1/release"
}
opt_dir=/opt/lxtrust-user-$$
vendor_dir=/opt/lxtrust-vendor-$$
mkdir "$opt_dir" "$vendor_dir" /home/linuxbrew
planted+=("$opt_dir" "$vendor_dir" /home/linuxbrew)
opt_home=$opt_dir/jdk-99
brew_home=/home/linuxbrew/.linuxbrew/opt/openjdk/libexec
vendor_home=$vendor_dir/jdk-98
plant "$opt_home" opt 99
plant "$brew_home" brew 99
plant "$vendor_home" vendor 98

# The one-command launcher's program tells the home it was run with, as
# the demo wizard does.
cat > Wizard.java <<'JAVA'
public class Wizard {
  public static void main(String[] args) {
    System.out.println("lx.jvm.home = " + System.getenv("JAVA_HOME"));
  }
}
JAVA
mkdir dist
java_jar dist/app.jar Wizard Wizard.java
"$LXPACK" create --main-jar dist/app.jar --java 17+ -o dist/app.bin || fail "lxpack create --main-jar ended with $?"
cp "$LX_BUILD_DIR/demo/setup.bin" dist/demo.bin
chmod -R a+rX dist

# launch AS NAME: runs dist/NAME.bin as AS (root or the user), logging to
# $T/logs/NAME.log; sets $out and $status.
launch() {
  local as=$1 name=$2 user_of=()
  rm -f "$markers"/*.starts "$T/logs/$name.log"
  [ "$as" = root ] || user_of=(setpriv --reuid="$uid" --regid="$gid" --clear-groups)
  run out "${user_of[@]}" env HOME="$T/home" TMPDIR="$T/tmp-$as" XDG_CACHE_HOME="$T/cache-$as" \
    "$T/dist/$name.bin" -lx:log "$T/logs/$name.log" </dev/null
}

# expect_choice WHAT HOME NAME OTHER...: the last run chose HOME, whose java
# (noted as NAME) was started, and started none of the others.
expect_choice() {
  local what=$1 home=$2 name=$3 other
  shift 3
  expect_eq "$what: status (error output: $(cat "$T/.stderr"))" 0 "$status"
  expect_contains "$what: the home the program ran with" "lx.jvm.home = $home"$'\n' "$out"$'\n'
  [ -s "$markers/$name.starts" ] || fail "$what: $home/bin/java was not started"
  for other; do
    [ ! -e "$markers/$other.starts" ] || fail "$what: the java of $other was started: $(cat "$markers/$other.starts")"
  done
}

for launcher in app demo; do
  # The user owns the directory the /opt home lies in, and the Linuxbrew
  # prefix with everything in it.
  chown "$user:" "$opt_dir"
  chown -R "$user:" /home/linuxbrew
  launch root $launcher
  expect_choice "$launcher run by root, the homes another user could change" "$vendor_home" vendor opt brew
  log=$(cat "$T/logs/$launcher.log")
  expect_contains "$launcher: the log names the /opt home and why" \
    "Not starting the JVM at $opt_home, which the launcher found by itself: $opt_dir belongs to user $uid" "$log"
  expect_contains "$launcher: the log names the Linuxbrew home and why" \
    "Not starting the JVM at $brew_home, which the launcher found by itself: $brew_home/bin/java belongs to user $uid" \
    "$log"

  chown -R root: /home/linuxbrew
  launch root $launcher
  expect_choice "$launcher run by root, the Linuxbrew prefix root's" "$brew_home" brew opt vendor

  chown root: "$opt_dir"
  launch root $launcher
  expect_choice "$launcher run by root, both root's" "$opt_home" opt brew vendor

  chown "$user:" "$opt_dir"
  chown -R "$user:" /home/linuxbrew
  launch "$user" $launcher
  expect_choice "$launcher run by the user who owns the homes" "$opt_home" opt brew vendor
done
