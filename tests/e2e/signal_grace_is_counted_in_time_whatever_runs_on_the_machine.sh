#!/usr/bin/env bash
# After a terminate signal the launcher gives the wizard's programs ten
# seconds of time, not a number of looks at the process table: with many
# processes on the machine, each look costs more, and the wait must not
# turn into minutes of reading /proc. The launcher ends a little after the
# grace, having spent little processor time on it.
source "$(dirname "$0")/common.inc"
need_lxpack
source "$(dirname "$0")/terminated_wizard.inc"
# The shell that ran the command ends at the signal; the wizard below it
# ignores it and is killed when the grace is over.
pack_wizard "trap '' TERM
echo \$\$ > '$T/wizard.pid'
while :; do sleep 1; done"

python3 - "$T" "$LXLAUNCHER" <<'PY' || exit $?
import os, signal, subprocess, sys, time
T = sys.argv[1]
# A few hundred bystanders: every look at the process table reads them all.
bystanders = [subprocess.Popen(["sleep", "300"]) for _ in range(400)]
try:
    env = dict(os.environ, TMPDIR=T + "/tmp")
    os.makedirs(T + "/tmp", exist_ok=True)
    launcher = subprocess.Popen([T + "/setup.bin", "-lx:silent"], env=env,
                                stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
    deadline = time.time() + 60
    while not os.path.exists(T + "/wizard.pid") and time.time() < deadline:
        time.sleep(0.1)
    time.sleep(0.5)
    start = time.time()
    launcher.send_signal(signal.SIGTERM)
    while time.time() - start < 120:
        pid, status, usage = os.wait4(launcher.pid, os.WNOHANG)
        if pid:
            break
        time.sleep(0.1)
    else:
        launcher.kill()
        sys.exit("FAIL: the launcher did not end within two minutes of the signal")
    elapsed = time.time() - start
    cpu = usage.ru_utime + usage.ru_stime
    print(f"ended after {elapsed:.1f} s with {cpu:.2f} s of processor time")
    if os.waitstatus_to_exitcode(status) != 143:
        sys.exit(f"FAIL: status {os.waitstatus_to_exitcode(status)}, not 143")
    if elapsed < 9:
        sys.exit("FAIL: the wizard's programs did not get their ten seconds")
    # Reading the table every 20 ms for ten seconds costs seconds here.
    if cpu > 1.5:
        sys.exit(f"FAIL: the wait took {cpu:.2f} s of processor time")
finally:
    for b in bystanders:
        b.kill()
    for b in bystanders:
        b.wait()
PY
[ -z "$(ls -A tmp)" ] || fail "left in TMPDIR: $(ls -A tmp)"
