#!/usr/bin/env bash
# Homes that cannot run on this machine are passed over before anything is
# started, with one log line each that names the home and why: a java built
# for aarch64, one that needs the musl loader this machine lacks, and one
# whose release file gives another OS_ARCH. The sound home after them is
# taken. Holds for every description, with the new keys or without.
source "$(dirname "$0")/common.inc"
source "$(dirname "$0")/java_choice.inc"
export LX_JVM_CACHE=0
[ "$(uname -m)" = x86_64 ] || skip "the foreign programs here are made from this machine's x86_64 /bin/true"
command -v python3 >/dev/null || fail "python3 is missing (scripts/install-deps installs it)"

# patch_elf OUT: a copy of /bin/true, then changed by the Python code on
# standard input, which gets its bytes as `data`.
patch_elf() {
  mkdir -p "$(dirname "$1")"
  python3 -c "import sys
data = bytearray(open('/bin/true', 'rb').read())
exec(sys.stdin.read())
open(sys.argv[1], 'wb').write(data)" "$1"
  chmod +x "$1"
}
# e_machine 183 (aarch64) in the header.
patch_elf arm/bin/java <<< 'data[18:20] = (183).to_bytes(2, "little")'
# The program interpreter of a musl build, which this machine does not have.
[ ! -e /lib/ld-musl-x86_64.so.1 ] || skip "this machine has the musl loader"
patch_elf musl/bin/java <<'PY'
old = b"/lib64/ld-linux-x86-64.so.2\0"
at = data.find(old)
assert at >= 0, "no glibc interpreter in /bin/true"
data[at:at + len(old)] = b"/lib/ld-musl-x86_64.so.1".ljust(len(old), b"\0")
PY
stand_in "$T/armrelease" 21.0.5
printf 'OS_ARCH="aarch64"\n' >> armrelease/release
stand_in "$T/good" 17.0.9

hints=("PATH_HINT:" "  $T/arm" "  $T/musl" "  $T/armrelease" "  $T/good" "/:")
for keys in "JVM_PROPERTIES:|  java.version=...|/:" "JAVA_VERSION: 17+|PREFER: first"; do
  IFS='|' read -r -a lines <<< "$keys"
  choose "${lines[@]}" "${hints[@]}"
  expect_eq "the sound home after the foreign ones ($keys)" "$T/good" "$chosen"
  expect_eq "only the sound home was started ($keys)" 1 "$(jvm_starts)"
  expect_eq "the foreign release file's home was not started ($keys)" 0 "$(starts "$T/armrelease")"
  for line in \
    "Not starting the JVM at $T/arm: its java ($T/arm/bin/java) is a program for aarch64, and this machine runs x86_64 programs" \
    "Not starting the JVM at $T/musl: its java ($T/musl/bin/java) needs the program interpreter /lib/ld-musl-x86_64.so.1, which this machine does not have (a build for another C library or system)" \
    "Not starting the JVM at $T/armrelease: its release file gives OS_ARCH aarch64, and this machine runs x86_64 programs"; do
    expect_eq "log line ($keys): $line" 1 "$(grep -cxF "$line" choose.log)"
  done
done
