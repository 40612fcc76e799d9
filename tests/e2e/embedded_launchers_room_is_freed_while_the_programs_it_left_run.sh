#!/usr/bin/env bash
# An embedded launcher runs from a temporary file that it removes when it
# ends. The keeper of the output of programs its wizard left running runs
# as long as they do, and must not hold that file: the room it took in the
# temporary directory is free again as soon as the launcher has ended,
# though the program still runs and its later output still reaches the log.
# Measured on a file system of its own where one can be mounted (df), and
# everywhere in what the keeper maps, runs and holds open (/proc).
source "$(dirname "$0")/common.inc"
need_lxpack
mkdir tmp
export TMPDIR=$T/tmp
measured=no
if mount -t tmpfs -o size=256m tmpfs "$TMPDIR" 2>/dev/null; then
  measured=yes
  # Lazily: a keeper that holds the file keeps the mount busy.
  trap 'umount -l "$TMPDIR" 2>/dev/null; rm -rf "$T"' EXIT
else
  echo "cannot mount a tmpfs here: the room is checked through /proc only"
fi

# The program left running writes once the launcher has ended, then waits
# (a minute at most) for the test to let it go, and writes again.
fake_jvm "$T/jvm" "(sleep 1; echo late; i=0; while [ ! -e '$T/release' ] && [ \$i -lt 600 ]; do sleep 0.1; i=\$((i + 1)); done; echo released; echo gone > '$T/gone') &
echo early
exit 0"
jvm_description app.jvm "$T/jvm"
printf 'DESC: App\nDISPLAY_CONSOLE: 0\nCOMMAND: """@JVM_HOME@/@JVM_EXE@"" Main"\n' > launch.txt
printf 'INSTRUCTIONS:\n  LAUNCH "%s" 0\n/:\n' "$T/app.jvm" > instructions.txt
# Some 40 MB, so that the room an embedded launcher takes shows.
head -c 40000000 /dev/urandom > payload.bin
make_launcher inner.bin instructions=instructions.txt launch-script=launch.txt application=payload.bin >/dev/null
printf 'INSTRUCTIONS:\n  EXECUTE_LAUNCHER 1\n/:\n' > outer.txt
make_launcher setup.bin instructions=outer.txt launcher=inner.bin >/dev/null
rm payload.bin

./setup.bin -lx:log "$T/run.log" >console.txt 2>&1 &
finish $!
expect_eq "the wizard's status" 0 "$status"
[ ! -e "$T/gone" ] || fail "the launcher waited for the program the wizard left running"
[ -z "$(ls -A tmp)" ] || fail "left in TMPDIR: $(ls -A tmp)"

# The keeper is the process that holds the log open.
keepers=()
for fd in $(find /proc/[0-9]*/fd -maxdepth 1 -lname "$T/run.log" 2>/dev/null); do
  pid=${fd#/proc/}
  keepers+=("${pid%%/*}")
done
[ ${#keepers[@]} -gt 0 ] || fail "no keeper of the late output holds the log"
for pid in "${keepers[@]}"; do
  held=$({ readlink "/proc/$pid/exe"; cat "/proc/$pid/maps"; ls -l "/proc/$pid/fd"; } 2>/dev/null | grep -F "$TMPDIR" || true)
  [ -z "$held" ] || fail "the keeper $pid holds the removed launcher file: $held"
done
if [ $measured = yes ]; then
  used=$(df --output=used -k "$TMPDIR" | tail -n 1 | tr -d ' ')
  echo "$used KiB used in the temporary directory after the launcher ended"
  [ "$used" -lt 2048 ] || fail "$used KiB of the temporary directory stay taken after the launcher ended"
fi

# The keeper still does its work, and ends with the program.
touch "$T/release"
wait_for_file "$T/gone"
for i in $(seq 600); do
  grep -qx released run.log && break
  sleep 0.1
done
grep -qx late run.log || { cat run.log; fail "the late output is not in the log"; }
grep -qx released run.log || { cat run.log; fail "the output after the release is not in the log"; }
for pid in "${keepers[@]}"; do
  process_ended "$pid" || fail "the keeper $pid did not end with the program it served"
done
