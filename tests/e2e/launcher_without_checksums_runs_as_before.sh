#!/usr/bin/env bash
# A launcher without a checksum block (made by another writer, or by an
# older lxpack: lxpack create --no-checksums) is read as before: it runs,
# and a damaged entry goes unnoticed by the launcher. lxpack shows that it
# has no checksums.
source "$(dirname "$0")/common.inc"
need_lxpack
mkdir tmp
export TMPDIR=$T/tmp

fake_jvm "$T/jvm" "touch '$T/wizard.ran'"
jvm_description app.jvm "$T/jvm"
printf 'DESC: App\nCOMMAND: """@JVM_HOME@/@JVM_EXE@"" %%CP%%() Main"\n' > launch.txt
printf 'INSTRUCTIONS:\n  LAUNCH "%s" 0\n/:\n' "$T/app.jvm" > instructions.txt
head -c 100000 /dev/urandom > cp.jar
make_launcher plain.bin --no-checksums instructions=instructions.txt launch-script=launch.txt classpath=cp.jar

run out ./plain.bin
expect_eq "status" 0 "$status"
[ -e wizard.ran ] || fail "the launcher without checksums did not run the wizard"
rm wizard.ran
expect_contains "list" "checksums: none" "$("$LXPACK" list plain.bin)"
expect_eq "check" "plain.bin: OK, $(uname -m), 3 entries, without checksums" "$("$LXPACK" check plain.bin)"

offset=$("$LXPACK" list -p plain.bin | awk -F'\t' '$1 == "entry" && $NF == "cp.jar" { print $5 }')
put_bytes plain.bin $((offset + 10)) 'X'
run out ./plain.bin
expect_eq "damaged, unnoticed: status" 0 "$status"
[ -e wizard.ran ] || fail "the damaged launcher without checksums did not run the wizard"
[ -z "$(ls -A tmp)" ] || fail "left in TMPDIR: $(ls -A tmp)"
