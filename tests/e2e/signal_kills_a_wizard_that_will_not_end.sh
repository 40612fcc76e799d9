#!/usr/bin/env bash
# A wizard that ignores the terminate signal passed on to it does not keep
# the launcher for ever: after a grace of ten seconds the launcher kills
# what is left of the command, removes its files and ends with 143.
source "$(dirname "$0")/common.inc"
need_lxpack
source "$(dirname "$0")/terminated_wizard.inc"

launch_and_terminate "trap '' TERM HUP
echo \$\$ > '$T/wizard.pid'
while :; do sleep 1; done"
sleep 3
kill -0 "$launcher" 2>/dev/null || fail "the launcher ended while the wizard still ran"
[ -n "$(ls -A tmp)" ] || fail "the files were removed while the wizard still ran"
finish "$launcher"
expect_eq "status" 143 "$status"
process_ended "$wizard" || fail "the wizard still runs after the launcher ended"
[ -z "$(ls -A tmp)" ] || fail "left in TMPDIR: $(ls -A tmp)"
