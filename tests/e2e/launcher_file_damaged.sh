#!/usr/bin/env bash
# A launcher file that was cut short (an interrupted download) or whose
# file index was damaged runs nothing: a file cut short no longer ends with
# the archive's identification value and so has no archive at all (status
# 255, nothing printed); a damaged index is named in the message (status
# 255). Either way nothing is extracted and the wizard does not run.
source "$(dirname "$0")/common.inc"
need_lxpack
mkdir tmp
export TMPDIR=$T/tmp

fake_jvm "$T/jvm" "touch '$T/wizard.ran'"
jvm_description app.jvm "$T/jvm"
printf 'DESC: App\nCOMMAND: """@JVM_HOME@/@JVM_EXE@"" %%CP%%() Main"\n' > launch.txt
printf 'INSTRUCTIONS:\n  LAUNCH "%s" 0\n/:\n' "$T/app.jvm" > instructions.txt
head -c 100000 /dev/urandom > app.jar
make_launcher good.bin instructions=instructions.txt launch-script=launch.txt classpath=app.jar >/dev/null
size=$(file_size good.bin)
program=$(file_size "$LXLAUNCHER")
index=$(tail -c 8 good.bin | head -c 4 | od -An -tu1 | awk '{print $1*16777216 + $2*65536 + $3*256 + $4}')

# expect_nothing_ran WHAT
expect_nothing_ran() {
  [ ! -e wizard.ran ] || fail "$1: the wizard ran"
  [ -z "$(ls -A tmp)" ] || fail "$1: left in TMPDIR: $(ls -A tmp)"
}

run out ./good.bin
expect_eq "the intact launcher runs the wizard" 0 "$status"
rm wizard.ran

# Cut within the trailer, within the index, and within the embedded data.
for keep in $((size - 1)) $((size - 9)) $((index + 10)) $((program + 50000)); do
  head -c "$keep" good.bin > cut.bin
  chmod +x cut.bin
  run out ./cut.bin
  expect_eq "cut to $keep bytes: status" 255 "$status"
  expect_eq "cut to $keep bytes: output" "" "$out"
  expect_nothing_ran "cut to $keep bytes"
done

# damaged_case WHAT OFFSET BYTES MESSAGE
damaged_case() {
  cp good.bin damaged.bin
  put_bytes damaged.bin "$2" "$3"
  run out ./damaged.bin
  expect_eq "$1: status" 255 "$status"
  expect_eq "$1: message" "Unable to load the launcher file index. $4" "$out"
  expect_nothing_ran "$1"
}
damaged_case "index offset beyond the end" $((size - 8)) '\177\377\377\377' "Unable to read the file count."
damaged_case "more entries than the index holds" "$index" '\000\000\377\377' "Unable to load offset to file bytes."
damaged_case "an unknown file type" $((index + 4)) '\010' "Invalid file type in file index."
