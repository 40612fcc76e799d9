#!/usr/bin/env bash
# A wizard that handles a signal (asks whether to quit, cleans up once)
# gets it once. coreutils' timeout signals the launcher and then its whole
# process group, where the wizard runs: the launcher does not pass that
# signal on a second time. A signal sent to the launcher alone still
# reaches the wizard, once, also when the shell that runs the command ends
# at it before the wizard does.
source "$(dirname "$0")/common.inc"
need_lxpack
source "$(dirname "$0")/terminated_wizard.inc"
command -v timeout >/dev/null || fail "timeout (coreutils) is missing"

# The wizard counts the deliveries of one signal; after the first it waits
# a second and a half for more, then writes the count and ends. Python
# itself, not a version manager's wrapper that takes a second to start it.
python=$(python3 -c 'import sys; print(sys.executable)')
cat > counter.py <<'PY'
import os, signal, sys, time
deliveries = 0
def count(signum, frame):
    global deliveries
    deliveries += 1
signal.signal(getattr(signal, "SIG" + sys.argv[1]), count)
with open(sys.argv[2], "w") as f:
    f.write(str(os.getpid()))
while deliveries == 0:
    time.sleep(0.05)
end = time.monotonic() + 1.5
while time.monotonic() < end:
    time.sleep(0.05)
with open(sys.argv[3], "w") as f:
    f.write(str(deliveries))
PY

# signal_case SIGNAL PREFIX HOW: PREFIX "exec " makes the wizard the
# launcher's own child instead of the shell's. HOW: "timeout" lets the time
# run out, "via-timeout" sends SIGNAL to timeout (which passes it on the
# same way), "alone" sends it to the launcher only.
signal_case() {
  local signal=$1 prefix=$2 how=$3
  local what="$signal $how ${prefix:-below the shell}"
  pack_wizard "exec '$python' '$T/counter.py' $signal '$T/wizard.pid' '$T/count'" "$prefix"
  rm -f wizard.pid count
  case $how in
    timeout)
      # Five seconds: far more than the wizard needs to start.
      timeout 5 ./setup.bin >/dev/null 2>&1 &
      ;;
    via-timeout)
      timeout 300 ./setup.bin >/dev/null 2>&1 &
      wait_for_file wizard.pid
      kill -"$signal" $!
      ;;
    alone)
      set -m
      ./setup.bin >/dev/null 2>&1 &
      set +m
      wait_for_file wizard.pid
      kill -"$signal" $!
      ;;
  esac
  finish $!
  [ -s count ] || fail "$what: the wizard did not get the signal (was it running when the time ran out?)"
  expect_eq "$what: deliveries to the wizard" 1 "$(cat count)"
  case $how in
    timeout) expect_eq "$what: status" 124 "$status" ;;
    alone) [ "$signal" = INT ] || expect_eq "$what: status" "$((128 + $(kill -l "$signal")))" "$status" ;;
  esac
}

signal_case TERM "" timeout
signal_case TERM "exec " via-timeout
signal_case INT "exec " via-timeout
signal_case TERM "" alone
signal_case TERM "exec " alone
signal_case INT "exec " alone
[ -z "$(ls -A tmp)" ] || fail "left in TMPDIR: $(ls -A tmp)"
