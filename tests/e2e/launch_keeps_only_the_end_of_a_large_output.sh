#!/usr/bin/env bash
# A wizard run without a console (DISPLAY_CONSOLE: 0) may print far more
# than the launcher should hold: its output goes to the log as it comes,
# and only the last 64 KiB of its error output are kept for the failure
# report. A wizard that writes 200 MB to each stream and ends with 3: the
# launcher's peak memory stays small, what it prints after the failure is
# the end of the error output only (starting at a line), the status is 3,
# and the log holds the beginning and the end of the output, under the
# headings of their streams, within its bound of 64 MiB.
source "$(dirname "$0")/common.inc"
need_lxpack
mkdir tmp
export TMPDIR=$T/tmp
[ -x /usr/bin/time ] || fail "/usr/bin/time is missing (scripts/install-deps installs it)"

mb=200
fake_jvm "$T/jvm" "yes 'output line of the wizard' | head -c ${mb}000000
yes 'error line of the wizard' | head -c ${mb}000000 >&2
echo 'the last error line' >&2
exit 3"
jvm_description app.jvm "$T/jvm"
printf 'DESC: Chatty\nDISPLAY_CONSOLE: 0\nCOMMAND: "@JVM_HOME@/@JVM_EXE@"\n' > launch.txt
printf 'INSTRUCTIONS:\n  LAUNCH "%s" 0\n/:\n' "$T/app.jvm" > instructions.txt
make_launcher setup.bin instructions=instructions.txt launch-script=launch.txt >/dev/null

# run_measured OPTION...: runs the launcher under time -v; the console
# goes to console.txt, the status to $status, the peak resident size (KiB)
# to $peak.
run_measured() {
  set +e
  /usr/bin/time -v -o time.txt ./setup.bin "$@" > console.txt
  set -e
  status=$(sed -n 's/^\tExit status: //p' time.txt)
  peak=$(sed -n 's/^\tMaximum resident set size (kbytes): //p' time.txt)
}

limit_kb=$((50 * 1024))
for logged in without with; do
  options=()
  [ $logged = without ] || options=(-lx:log "$T/run.log")
  run_measured "${options[@]}"
  echo "peak $peak KiB $logged a log"
  expect_eq "status $logged a log" 3 "$status"
  [ "$peak" -lt "$limit_kb" ] || fail "the launcher held $peak KiB $logged a log (limit $limit_kb)"
  # The title comes first, then the error output's end.
  expect_eq "the first line $logged a log" "Chatty" "$(head -n 1 console.txt)"
  tail -n +2 console.txt > printed.txt
  size=$(file_size printed.txt)
  [ "$size" -le $((65536 + 200)) ] || fail "$size bytes printed after the failure $logged a log"
  [ "$size" -ge 60000 ] || fail "only $size bytes printed after the failure $logged a log"
  expect_eq "the last line printed" "the last error line" "$(grep -v '^$' printed.txt | tail -n 1)"
  expect_eq "the first line printed is whole" "error line of the wizard" "$(head -n 1 printed.txt)"
  grep -qv -e '^error line of the wizard$' -e '^the last error line$' -e '^$' printed.txt &&
    fail "what was printed is not the error output's end: $(grep -v '^error line of the wizard$' printed.txt | head -3)"
done

# The log has the beginning and the end, each under its heading, and says
# once how much was left out between them.
size=$(file_size run.log)
[ "$size" -le $((64 * 1024 * 1024 + 16384)) ] || fail "the log has $size bytes"
expect_eq "the beginning of the output in the log" "Output from the launch script execution
StdOut:
output line of the wizard" "$(grep -A 2 -xF "Output from the launch script execution" run.log)"
expect_eq "the end of the output, the log's last lines" "error line of the wizard
the last error line" "$(tail -n 2 run.log)"
note='^\[[0-9]* bytes of output left out here: '
expect_eq "notes of what was left out" 1 "$(grep -c "$note" run.log)"
expect_eq "the heading after the note" "ErrOut:" "$(grep -A 1 "$note" run.log | tail -n 1)"
[ -z "$(ls -A tmp)" ] || fail "files left in the temporary directory: $(ls -A tmp)"
