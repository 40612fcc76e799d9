#!/usr/bin/env bash
# A wizard that ignores the signal passed on to it does not keep the
# launcher for ever: after a grace of ten seconds the launcher kills what is
# left of the command, the wizard too when it is the launcher's own child
# (the command replaced its shell with it), removes its files and ends with
# 128 + the signal's number. An interrupt sent to the launcher alone
# (timeout -s INT) is passed on and has the same grace.
source "$(dirname "$0")/common.inc"
need_lxpack
source "$(dirname "$0")/terminated_wizard.inc"

# signal_case SIGNAL PREFIX: PREFIX "exec " makes the wizard the launcher's
# own child.
signal_case() {
  local what="$1 ${2:-below the shell}"
  launch_and_terminate "trap '' TERM HUP INT
echo \$\$ > '$T/wizard.pid'
while :; do sleep 1; done" "$1" "$2"
  sleep 3
  kill -0 "$launcher" 2>/dev/null || fail "$what: the launcher ended while the wizard still ran"
  [ -n "$(ls -A tmp)" ] || fail "$what: the files were removed while the wizard still ran"
  finish "$launcher"
  expect_eq "$what: status" "$((128 + $(kill -l "$1")))" "$status"
  process_ended "$wizard" || fail "$what: the wizard still runs after the launcher ended"
  [ -z "$(ls -A tmp)" ] || fail "$what: left in TMPDIR: $(ls -A tmp)"
}

signal_case TERM ""
signal_case TERM "exec "
signal_case INT "exec "
