#!/usr/bin/env bash
# A program's folder is unpacked and, after the run, removed however deep it
# is and however long the temporary directory's name: here 1,535 levels
# below a TMPDIR of 1,010 characters, where the deepest paths are twice as
# long as any path the system accepts. The program finds every file of its
# folder, nothing is left in TMPDIR and the log holds no warning.
#
# What the clean-up cannot remove at that depth, it names in the log with
# its whole path: the program makes its deepest directory read-only, and the
# launcher runs without the override that lets root ignore that.
source "$(dirname "$0")/common.inc"
need_lxpack

tmp=$T/t
while [ ${#tmp} -lt 1010 ]; do
  part=$((1010 - ${#tmp} - 1))
  [ "$part" -le 200 ] || part=150
  tmp=$tmp/$(head -c "$part" /dev/zero | tr '\0' t)
done
expect_eq "the temporary directory's length" 1010 "${#tmp}"
mkdir -p "$tmp"
export TMPDIR=$tmp

# The deepest directory's name in the folder: 1,535 levels of "a", 3,069
# bytes, and its file's 3,071, within the 3,072 a record may carry.
levels=$(printf 'a/%.0s' $(seq 1535))
levels=${levels%/}
mkdir -p "deep/$levels" "deep/a/a/middle"
echo top > deep/top.txt
echo middle > deep/a/a/middle/m.txt
echo bottom > "deep/$levels/f"

# The stand-in JVM looks at the folder from inside it: its relative paths
# stay within the system's bound where the full ones do not. With LOCK
# set it also makes the deepest directory read-only.
fake_jvm "$T/jvm" "cd \"\$1\" || exit 5
find . -type f | LC_ALL=C sort > '$T/files.txt'
cat \"\$(find . -name f)\" > '$T/bottom.txt'
if [ -n \"\${LOCK:-}\" ]; then chmod 555 \"\$(dirname \"\$(find . -name f)\")\"; fi"
jvm_description app.jvm "$T/jvm"
printf 'DESC: App\nCOMMAND: """@JVM_HOME@/@JVM_EXE@"" ""%%APP_DIR%%()"""\n' > launch.txt
printf 'INSTRUCTIONS:\n  LAUNCH "%s" 0\n/:\n' "$T/app.jvm" > instructions.txt
make_launcher app.bin instructions=instructions.txt launch-script=launch.txt app-dir=deep/ > /dev/null

run out ./app.bin -lx:log "$T/run.log"
expect_eq "status (output: $out $(cat "$T/.stderr"))" 0 "$status"
printf '%s\n' "./$levels/f" ./a/a/middle/m.txt ./top.txt > want.txt
cmp -s want.txt files.txt || fail "the program found other files: $(cut -c1-100 files.txt)"
expect_eq "the deepest file" bottom "$(cat bottom.txt)"
[ -z "$(ls -A "$tmp")" ] || fail "left in the temporary directory: $(ls -A "$tmp")"
if grep -q WARNING run.log; then fail "the log warns: $(grep WARNING run.log | cut -c1-300)"; fi

# The same run with the deepest directory made read-only by the program.
# Root passes every permission check; without that override the file in
# the read-only directory stays, and so do its directory and theirs.
as_owner=()
if [ "$(id -u)" = 0 ]; then
  setpriv --bounding-set -dac_override,-dac_read_search true 2>/dev/null ||
    skip "cannot drop the permission override here (setpriv --bounding-set)"
  as_owner=(setpriv --bounding-set -dac_override,-dac_read_search)
fi
rm -f run.log bottom.txt
run out env LOCK=1 "${as_owner[@]}" ./app.bin -lx:log "$T/run.log"
expect_eq "locked: status (output: $out $(cat "$T/.stderr"))" 0 "$status"
expect_eq "locked: the deepest file" bottom "$(cat bottom.txt)"
unpacked=$(cd "$tmp" && echo lxj*)
[ -d "$tmp/$unpacked/deep" ] || fail "locked: the folder is gone, though a file in it could not be removed"
expect_eq "locked: the warnings" "WARNING: Could not delete $tmp/$unpacked/deep/$levels/f :  Permission denied
WARNING: Could not delete $tmp/$unpacked/deep/$levels :  Directory not empty" "$(grep WARNING run.log)"
[ ! -e "$tmp/$unpacked/deep/top.txt" ] || fail "locked: the rest of the folder was left too"
(cd "$tmp/$unpacked/deep" && chmod 700 "$levels")
