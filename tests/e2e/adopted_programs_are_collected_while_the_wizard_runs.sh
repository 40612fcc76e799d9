#!/usr/bin/env bash
# Programs the wizard starts and leaves (a shell's background job whose
# shell ended) come to the launcher, so that a signal still finds them.
# When they end, the launcher collects them during the run: otherwise each
# would stay a zombie for as long as the wizard runs, taking a slot of the
# user's process limit.
source "$(dirname "$0")/common.inc"
need_lxpack
mkdir tmp
export TMPDIR=$T/tmp

# Ten short programs, each orphaned at once; then the wizard waits.
fake_jvm "$T/jvm" "for i in 1 2 3 4 5 6 7 8 9 10; do (sleep 0.2 & echo \$! >> '$T/orphans'); done
echo \$\$ > '$T/wizard.pid'
while [ ! -e '$T/go' ]; do sleep 0.1; done
exit 4"
jvm_description app.jvm "$T/jvm"
printf 'DESC: App\nCOMMAND: """@JVM_HOME@/@JVM_EXE@"""\n' > launch.txt
printf 'INSTRUCTIONS:\n  LAUNCH "%s" 0\n/:\n' "$T/app.jvm" > instructions.txt
make_launcher setup.bin instructions=instructions.txt launch-script=launch.txt >/dev/null

./setup.bin -lx:silent >/dev/null 2>&1 &
launcher=$!
wait_for_file wizard.pid
# The orphans end after 0.2 s; each must be gone, not a zombie of the
# launcher, within ten seconds.
zombies=
for i in $(seq 100); do
  zombies=
  while read -r pid; do
    # A number the system gave to another program meanwhile (the machine
    # is busy) is not ours: only a child of the launcher counts.
    state=$(awk '{print $3 "," $4}' "/proc/$pid/stat" 2>/dev/null || true)
    if [ "${state#*,}" = "$launcher" ]; then zombies="$zombies $pid($state)"; fi
  done < orphans
  [ -z "$zombies" ] && break
  sleep 0.1
done
touch go
finish "$launcher"
expect_eq "the wizard's status" 4 "$status"
expect_eq "orphans left as zombies during the run (pid(state,parent))" "" "$zombies"
expect_eq "orphans started" 10 "$(wc -l < orphans)"
