#!/usr/bin/env bash
# A terminate signal to the launcher reaches the wizard, and the wizard may
# take its time to end (a JVM runs its shutdown hooks). The shell that ran
# the command ends at once; the launcher still waits until the wizard has
# ended before it removes the files the wizard reads, then ends with 143.
source "$(dirname "$0")/common.inc"
need_lxpack
source "$(dirname "$0")/terminated_wizard.inc"

# On SIGTERM the stand-in wizard works a while, then notes which temporary
# files it can still see, all in the shell itself: the launcher passes the
# signal on to every process the command starts meanwhile too, so an ls
# started here could be ended before it wrote anything.
launch_and_terminate "trap 'i=0; while [ \$i -lt 300000 ]; do i=\$((i + 1)); done; for f in \"$T/tmp\"/*; do [ -e \"\$f\" ] && echo \"\$f\"; done > \"$T/seen\"; exit 0' TERM
echo \$\$ > '$T/wizard.pid'
sleep 120 & wait"
finish "$launcher"
expect_eq "status" 143 "$status"
process_ended "$wizard" || fail "the wizard still runs after the launcher ended"
[ -f seen ] || fail "the launcher ended before the wizard had ended"
[ -n "$(cat seen)" ] || fail "the temporary files were removed while the wizard still ran"
[ -z "$(ls -A tmp)" ] || fail "left in TMPDIR: $(ls -A tmp)"
