#!/usr/bin/env bash
# A signal while the wizard runs ends the launcher in order. The terminal's
# interrupt reaches the whole process group, the wizard included, which
# ends on it; terminate and hang-up sent to the launcher alone are passed on
# to the wizard, also when the shell runs it as a child of its own. Either
# way the launcher waits for the wizard, removes its temporary files and
# ends with 128 + the signal number.
source "$(dirname "$0")/common.inc"
need_lxpack
mkdir tmp
export TMPDIR=$T/tmp
# Job control: every launcher started in the background leads a process
# group of its own, as it would as a terminal's foreground job.
set -m

fake_jvm "$T/jvm" "echo \$\$ > '$T/wizard.pid'; exec sleep 120"
jvm_description app.jvm "$T/jvm"
printf 'DESC: App\nCOMMAND: """@JVM_HOME@/@JVM_EXE@"" %%CP%%() Main"\n' > launch.txt
printf 'INSTRUCTIONS:\n  LAUNCH "%s" 0\n/:\n' "$T/app.jvm" > instructions.txt
head -c 100000 /dev/urandom > app.jar
make_launcher setup.bin instructions=instructions.txt launch-script=launch.txt classpath=app.jar >/dev/null

# signal_case OPTION SIGNAL TARGET STATUS: TARGET is "group" (the terminal's
# way) or "launcher".
signal_case() {
  local option=$1 signal=$2 target=$3 want=$4
  local what="$signal to the $target ${option:-captured}"
  rm -f wizard.pid
  ./setup.bin -lx:log "$T/run.log" $option >/dev/null 2>&1 &
  local launcher=$!
  wait_for_file wizard.pid
  local wizard
  wizard=$(cat wizard.pid)
  [ -n "$(ls -A tmp)" ] || fail "$what: no temporary files while the wizard runs"
  if [ "$target" = group ]; then
    kill -"$signal" -- "-$launcher"
  else
    kill -"$signal" "$launcher"
  fi
  finish "$launcher"
  expect_eq "$what: status" "$want" "$status"
  [ -z "$(ls -A tmp)" ] || fail "$what: left in TMPDIR: $(ls -A tmp)"
  process_ended "$wizard" || fail "$what: the wizard still runs"
}

signal_case "" INT group 130
signal_case "" TERM launcher 143
signal_case "" HUP launcher 129
signal_case -lx:javaconsole INT group 130
signal_case -lx:javaconsole TERM launcher 143
grep -qx "WARNING: Stopped by signal 15 (Terminated)." run.log || { cat run.log; fail "the end by a signal is not logged"; }
