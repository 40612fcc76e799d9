#!/usr/bin/env bash
# The aarch64 launcher program, run by qemu-aarch64 on this machine:
# - it starts and gives its version;
# - a launcher made by this machine's lxpack for aarch64 (the same archive
#   as for x86_64, after the aarch64 program) gives back every file, byte
#   for byte, with -lx:extract;
# - the demo, packed around the aarch64 program, runs end to end with an
#   arm64 JRE from Debian's packages: the launcher finds the JRE by the
#   demo's path hints, verifies it and starts the wizard on it. The launcher
#   starts the JRE through /bin/sh, a program of this machine, so the kernel
#   itself must run arm64 programs: qemu-aarch64 is registered with
#   binfmt_misc for the duration of the test when no handler is.
# That last part skips (after the others have passed) when the arm64
# packages cannot be had here.
#
# Slow: qemu runs the JVM about ten times slower; the first run also fetches
# the arm64 packages (cached afterwards).
if [ "$(id -u)" = 0 ] && [ -z "${LX_PRIVATE_MOUNTS:-}" ]; then
  exec env LX_PRIVATE_MOUNTS=1 unshare -m --propagation private bash "$0" "$@"
fi
here=$(cd "$(dirname "$0")" && pwd)
source "$here/common.inc"
source "$here/foreign_roots.inc"
[ -n "${LXLAUNCHER_AARCH64:-}" ] || skip "no aarch64 launcher program was built (the build makes one when aarch64-linux-gnu-g++ is present)"
[ -x "$LXLAUNCHER_AARCH64" ] || fail "LXLAUNCHER_AARCH64 names no program: $LXLAUNCHER_AARCH64"
need_lxpack
command -v qemu-aarch64 >/dev/null || fail "qemu-aarch64 is missing (scripts/install-deps installs qemu-user)"
grep -q 'Machine: *AArch64' <<<"$(readelf -h "$LXLAUNCHER_AARCH64")" ||
  fail "$LXLAUNCHER_AARCH64 is not an aarch64 program"

# --- The program starts under the emulator.
start=$SECONDS
run native "$LXLAUNCHER" -lx:version
run out qemu-aarch64 "$LXLAUNCHER_AARCH64" -lx:version
expect_eq "-lx:version status under qemu (stderr: $(cat .stderr))" 0 "$status"
[ -n "$out" ] || fail "-lx:version printed nothing under qemu"
expect_eq "the version of both programs" "$native" "$out"

# --- Extraction of an archive made by the x86_64 lxpack.
mkdir src out
head -c 200003 /dev/urandom > src/random.bin
printf 'line one\nline two\n' > src/notes.txt
: > src/empty.bin
printf '#!/bin/sh\necho installer\n' > src/install.sh
cp "$LX_SOURCE_DIR/demo/instructions.txt" "$LX_SOURCE_DIR/demo/java.jvm" src/
files=(instructions=src/instructions.txt jvm=src/java.jvm application=src/random.bin
       classpath=src/notes.txt verify=src/empty.bin jvm-installer=src/install.sh)
# No launch script for the demo's LAUNCH: --force, as make_launcher does.
"$LXPACK" create --force --arch aarch64 --output arm.bin "${files[@]}" >/dev/null 2>&1 ||
  fail "lxpack create --arch aarch64 failed"
make_launcher x86.bin "${files[@]}" >/dev/null
cmp -s <(head -c "$(file_size "$LXLAUNCHER_AARCH64")" arm.bin) "$LXLAUNCHER_AARCH64" ||
  fail "lxpack create --arch aarch64 did not put the aarch64 program first"
# The same index for both but for the offsets, which count from the start
# of the file and so include the program's size.
index() { "$LXPACK" list --porcelain "$1" | awk -F'\t' -v OFS='\t' '$1 == "entry" { $5 = ""; print }'; }
expect_eq "the archive index of the aarch64 launcher" "$(index x86.bin)" "$(index arm.bin)"

(cd out && qemu-aarch64 "$T/arm.bin" -lx:extract > ../console.txt 2>&1) ||
  fail "-lx:extract under qemu failed: $(cat console.txt)"
for f in src/*; do
  cmp "$f" "out/$(basename "$f")" || fail "$(basename "$f") differs after extraction under qemu"
done
[ -x out/install.sh ] || fail "the JVM installer is not executable after extraction under qemu"
expect_eq "files written under qemu" "$( (ls src; echo input.tag) | sort)" "$(ls out | sort)"
echo "version and extraction under qemu: $((SECONDS - start)) s"

# --- The demo end to end with an arm64 JRE.
# Fetching packages, binfmt_misc and mounts need root; the mounts are made
# only in the mount namespace this script runs in as root.
[ "$(id -u)" = 0 ] && [ "${LX_PRIVATE_MOUNTS:-}" = 1 ] ||
  skip "the demo on aarch64 needs root (packages, binfmt_misc, mounts); version and extraction passed"
start=$SECONDS
set +e
sysroot=$(arm64_jre_sysroot)
got=$?
set -e
[ $got -eq 2 ] && skip "the arm64 JRE packages cannot be had here, so the demo did not run on aarch64 (version and extraction passed)"
[ $got -eq 0 ] || fail "could not make the arm64 JRE directory"
echo "arm64 JRE ready in $((SECONDS - start)) s: $sysroot"
jre=
for d in "$sysroot"/usr/lib/jvm/*/; do
  d=${d%/}
  [ ! -L "$d" ] && [ -x "$d/bin/java" ] && { jre=/usr/lib/jvm/${d##*/}; break; }
done
[ -n "$jre" ] || fail "no JRE in $sysroot/usr/lib/jvm"

# qemu finds the arm64 loader and libraries under QEMU_LD_PREFIX; the
# setting passes from the launcher through /bin/sh to java.
export QEMU_LD_PREFIX=$sysroot
run out qemu-aarch64 "$sysroot$jre/bin/java" -version
expect_eq "java -version of the arm64 JRE under qemu (stderr: $(cat .stderr))" 0 "$status"

# The kernel runs arm64 programs through qemu-aarch64: an existing handler,
# or one of this test's own, removed at its end.
binfmt=/proc/sys/fs/binfmt_misc
if [ ! -e "$binfmt/register" ]; then
  mount -t binfmt_misc binfmt_misc "$binfmt" 2>/dev/null ||
    fail "binfmt_misc is not mounted and cannot be (the kernel must run arm64 programs for this test)"
fi
handler=
for h in "$binfmt"/*; do
  case ${h##*/} in register|status) continue ;; esac
  grep -qx enabled "$h" && grep -q '^magic 7f454c460201010000000000000000000200b700' "$h" && { handler=$h; break; }
done
# Handlers that killed runs of this test left behind.
for h in "$binfmt"/lxlauncher-test-aarch64-*; do
  [ -e "$h" ] || continue
  [ -e "/proc/${h##*-}" ] || echo -1 > "$h" || true
done
if [ -z "$handler" ]; then
  handler=$binfmt/lxlauncher-test-aarch64-$$
  # The F flag opens qemu-aarch64 now, so it is found wherever the arm64
  # program is started from.
  printf '%s' ":${handler##*/}:M::"'\x7fELF\x02\x01\x01\x00\x00\x00\x00\x00\x00\x00\x00\x00\x02\x00\xb7\x00:\xff\xff\xff\xff\xff\xff\xff\x00\xff\xff\xff\xff\xff\xff\xff\xff\xfe\xff\xff\xff'":$(command -v qemu-aarch64):F" \
    > "$binfmt/register" || fail "cannot register qemu-aarch64 with binfmt_misc"
  trap 'echo -1 > "'"$handler"'" 2>/dev/null; rm -rf "$T"' EXIT
fi
run out "$sysroot$jre/bin/java" -version
expect_eq "the arm64 java started by the kernel (through $handler; stderr: $(cat .stderr))" 0 "$status"

# The demo packed as demo/CMakeLists.txt packs it, around the aarch64
# program.
demo=$LX_SOURCE_DIR/demo
"$LXPACK" create --stub "$LXLAUNCHER_AARCH64" --output setup.bin \
  verify="$LX_BUILD_DIR/Verify.jar" \
  instructions="$demo/instructions.txt" \
  launch-script="$demo/launch.txt" \
  jvm="$demo/java.jvm" \
  application="$LX_BUILD_DIR/demo/DemoWizard.jar" >/dev/null || fail "packing the aarch64 demo failed"

# As on an arm64 machine: its JDKs, and no others, under /usr/lib/jvm (the
# JRE's directory mounted there in this test's mount namespace); no
# JAVA_HOME.
mount --bind "$sysroot/usr/lib/jvm" /usr/lib/jvm || fail "cannot mount the arm64 JREs on /usr/lib/jvm"
unset JAVA_HOME JDK_HOME
mkdir tmp
export TMPDIR=$T/tmp

t0=$SECONDS
run out ./setup.bin extra-arg </dev/null
echo "demo on aarch64, found by the hints: $((SECONDS - t0)) s"
expect_eq "aarch64 demo status (stderr: $(cat .stderr))" 0 "$status"
expect_contains "start-up status" "Initializing Demo Setup Wizard..." "$out"
expect_contains "greeting" "Welcome to the demo setup wizard." "$out"
expect_contains "the arm64 JRE found and verified" "lx.jvm.home = $jre" "$out"
case $out in
  *"Scanning disk(s)"*) fail "the demo's path hints did not find the arm64 JRE at $jre: it was found by scanning the disk" ;;
esac
expect_contains "the wizard runs on the arm64 JRE" "at $jre" "$out"
expect_contains "pass-on argument" "arguments = [run] [extra-arg]" "$out"
expect_contains "finished" "Setup finished." "$out"

t0=$SECONDS
run out ./setup.bin -lx:javahome "$jre" --exit=5 </dev/null
echo "demo on aarch64 with -lx:javahome: $((SECONDS - t0)) s"
expect_eq "status of the wizard on aarch64" 5 "$status"
expect_contains "the given JRE" "lx.jvm.home = $jre" "$out"
[ -z "$(ls -A tmp)" ] || fail "temporary files left behind: $(ls -A tmp)"
echo "demo part: $((SECONDS - start)) s"
