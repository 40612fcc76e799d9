#!/usr/bin/env bash
# A launcher told to end while its failure dialog is open ends the dialog
# as it ends a wizard: the tool's group gets the signal, and a tool that
# does not end within the grace of ten seconds is killed with everything
# in its group. The launcher then ends with 128 + the signal's number,
# long before the tool would have closed by itself.
source "$(dirname "$0")/common.inc"
source "$(dirname "$0")/failure_dialog.inc"
printf 'DESC: Quillon Setup\nCOMMAND: "x"\n' > launch.txt
no_jvm_launcher setup.bin launch.txt

# A zenity that notes each terminate signal and goes on, never closing by
# itself, with a helper in its group that ignores the signal.
cat > bin/zenity <<SCRIPT
#!/bin/sh
trap 'echo TERM >> "$T/tool.signals"' TERM
(trap '' TERM; exec sleep 600) &
echo \$! > "$T/helper.pid"
echo \$\$ > "$T/tool.pid"
while :; do sleep 1; done
SCRIPT
chmod +x bin/zenity

set -m
PATH=$desktop_path DISPLAY=:0 ./setup.bin -lx:log setup.log </dev/null >out.txt 2>&1 &
launcher=$!
# Whatever a failure leaves running goes with the work directory.
clean_up() {
  kill -KILL -- "-$launcher" $(cat "$T/tool.pid" "$T/helper.pid" 2>/dev/null) 2>/dev/null || true
  rm -rf "$T"
}
trap clean_up EXIT
wait_for_file tool.pid
wait_for_file helper.pid
tool=$(cat tool.pid)
helper=$(cat helper.pid)
kill -TERM "$launcher"

# The signal reaches the tool, which keeps the launcher for the grace.
wait_for_file tool.signals
sleep 2
kill -0 "$launcher" 2>/dev/null || fail "the launcher ended without giving the dialog its grace"
# finish gives up after a minute: well past the grace, long before the
# tool would end.
finish "$launcher"
expect_eq "status" 143 "$status"
process_ended "$tool" || fail "the dialog tool still runs after the launcher ended"
process_ended "$helper" || fail "the tool's helper still runs after the launcher ended"
expect_contains "the log says the dialog ended with the launcher" \
  "The launcher was asked to end: the dialog was ended with it (status 137)." "$(cat setup.log)"
[ -z "$(ls -A tmp)" ] || fail "temporary files left behind: $(ls -A tmp)"
