#!/usr/bin/env bash
# A parent that ignores SIGCHLD passes that on to the launcher; the kernel
# would then collect the wizard itself, and its status would be lost (a
# failure to wait, or a failure read as success). The launcher gives SIGCHLD
# its default back at its start, for itself and for the wizard, which may
# wait for children of its own.
source "$(dirname "$0")/common.inc"
need_lxpack
mkdir tmp
export TMPDIR=$T/tmp

fake_jvm "$T/jvm" 'sh -c "exit 5"; echo "the wizard'\''s child ended with $?"; exit 7'
jvm_description app.jvm "$T/jvm"
printf 'INSTRUCTIONS:\n  LAUNCH "%s" 0\n/:\n' "$T/app.jvm" > instructions.txt
ignoring_child_signals() {
  python3 -c 'import os, signal, sys
signal.signal(signal.SIGCHLD, signal.SIG_IGN)
os.execv(sys.argv[1], sys.argv[1:])' "$@"
}
for console in 0 1; do
  printf 'DESC: App\nDISPLAY_CONSOLE: %s\nCOMMAND: """@JVM_HOME@/@JVM_EXE@"""\n' "$console" > launch.txt
  make_launcher setup$console.bin instructions=instructions.txt launch-script=launch.txt >/dev/null
  run out ignoring_child_signals ./setup$console.bin -lx:silent -lx:log "$T/run$console.log"
  expect_eq "DISPLAY_CONSOLE $console: the wizard's status" 7 "$status"
  grep -q "the wizard's child ended with 5" "run$console.log" <(printf '%s\n' "$out") ||
    fail "DISPLAY_CONSOLE $console: the wizard lost its own child's status: $out $(cat "run$console.log")"
  [ -z "$(ls -A tmp)" ] || fail "DISPLAY_CONSOLE $console: left in TMPDIR: $(ls -A tmp)"
done
