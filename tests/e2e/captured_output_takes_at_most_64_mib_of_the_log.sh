#!/usr/bin/env bash
# A wizard's captured output, and what a program it left running prints
# after it, take at most 64 MiB of the log together, however much they
# print: each keeps its beginning and its end, and one line between them
# says how many bytes were left out, counted exactly. A wizard that prints
# some 70 MB and leaves a program that prints some 72 MB after it: the log
# holds the first and the last line of each, under the heading of their
# stream, and the launcher's own lines. The real limit is tested: the
# producers are fast.
source "$(dirname "$0")/common.inc"
need_lxpack
mkdir tmp
export TMPDIR=$T/tmp

wizard_lines=2700000 # of 26 bytes
late_lines=2000000   # of 36 bytes
# The program left running starts printing once the test has seen the
# launcher end (it waits a minute at most), so that none of its output
# comes while the wizard runs. Each prints one error line near its end:
# what two pipes deliver may be read in either order, so the order of the
# streams is not checked, only that each line is under its stream's
# heading.
fake_jvm "$T/jvm" "(i=0; while [ ! -e '$T/start-late' ] && [ \$i -lt 600 ]; do sleep 0.1; i=\$((i + 1)); done
  echo 'the first late line'
  yes 'late line of a program left running' | head -n $late_lines
  echo 'the late error line' >&2
  echo 'the last late line'
  echo gone > '$T/gone') &
echo 'the first wizard line'
yes 'output line of the wizard' | head -n $wizard_lines
echo 'the wizard error line' >&2
echo 'the last wizard line'
exit 3"
jvm_description app.jvm "$T/jvm"
printf 'DESC: Chatty\nDISPLAY_CONSOLE: 0\nCOMMAND: """@JVM_HOME@/@JVM_EXE@"" Main"\n' > launch.txt
printf 'INSTRUCTIONS:\n  LAUNCH "%s" 0\n/:\n' "$T/app.jvm" > instructions.txt
make_launcher setup.bin instructions=instructions.txt launch-script=launch.txt >/dev/null

./setup.bin -lx:log "$T/run.log" >console.txt 2>&1 &
finish $!
expect_eq "the wizard's status" 3 "$status"
touch start-late
wait_for_file "$T/gone"
# The keeper writes the end of the late output once the program has ended.
for i in $(seq 600); do
  grep -qxF "the last late line" run.log && break
  sleep 0.1
done
grep -qxF "the last late line" run.log || fail "the end of the late output did not reach the log"

limit=$((64 * 1024 * 1024))
size=$(file_size run.log)
echo "log: $size bytes"
# The launcher's own lines take a few kilobytes.
[ "$size" -le $((limit + 16384)) ] || fail "the log has $size bytes"

# section FIRST-LINE END-LINE ERROR-LINE: the facts of the captured part
# of the log between the two lines, one a line: its first line and its
# last under StdOut:, the heading ERROR-LINE is under, the count of notes
# of what was left out, the count in the note, the bytes of output kept.
section() {
  awk -v first="$1" -v end="$2" -v error="$3" '
    $0 == first { on = 1; next }
    on && $0 == end { exit }
    !on { next }
    /^(StdOut|ErrOut):$/ { heading = $0; next }
    /^\[[0-9]+ bytes of output left out here: / { notes++; left = substr($1, 2); heading = ""; next }
    {
      kept += length($0) + 1
      if ($0 == error) errorHeading = heading
      if (heading != "StdOut:") next
      if (firstLine == "") firstLine = $0
      lastLine = $0
    }
    END { print firstLine; print lastLine; print errorHeading; print notes + 0; print left + 0; print kept + 0 }
  ' run.log
}

# check_section WHAT FIRST-LINE END-LINE PRINTED FIRST LAST ERROR
check_section() {
  local facts
  mapfile -t facts < <(section "$2" "$3" "$7")
  echo "$1: ${facts[*]}"
  expect_eq "$1: the first line kept" "$5" "${facts[0]}"
  expect_eq "$1: the last line kept" "$6" "${facts[1]}"
  expect_eq "$1: the heading of the error line" "ErrOut:" "${facts[2]}"
  expect_eq "$1: notes of what was left out" 1 "${facts[3]}"
  # What was kept and what was left out make the whole output. A line cut
  # where the first part ends, or where the other stream comes between
  # its pieces, is ended by the log: that line end is the log's own.
  local whole=$((${facts[4]} + ${facts[5]}))
  [ $whole -ge "$4" ] && [ $whole -le $(($4 + 4)) ] ||
    fail "$1: ${facts[5]} bytes kept and ${facts[4]} left out, of $4 printed"
  kept_total=$((kept_total + ${facts[5]}))
}

kept_total=0
check_section "the wizard's output" "Output from the launch script execution" \
  "Output after the command ended, from programs it left running:" $((22 + 26 * wizard_lines + 22 + 21)) \
  "the first wizard line" "the last wizard line" "the wizard error line"
check_section "the late output" "Output after the command ended, from programs it left running:" \
  "(the end of the log)" $((20 + 36 * late_lines + 20 + 19)) \
  "the first late line" "the last late line" "the late error line"
# The room is used: only the headings, notes and line ends are not output.
[ "$kept_total" -gt $((limit - 4096)) ] || fail "only $kept_total bytes of output kept in the log"
[ -z "$(ls -A tmp)" ] || fail "files left in the temporary directory: $(ls -A tmp)"
