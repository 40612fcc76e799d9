#!/usr/bin/env bash
# A folder packed with lxpack create app-dir=DIR is unpacked before the
# command runs, into the launcher's temporary directory, where %APP_DIR%()
# names it, and removed with the other temporary files when the run ends.
# A damaged folder entry is refused like any damaged entry, before anything
# runs; a temporary directory without room for the unpacked files (however
# small the entry) is reported before anything is written. -lx:extract
# unpacks the folder beside the other files.
source "$(dirname "$0")/common.inc"
need_lxpack
mkdir tmp
export TMPDIR=$T/tmp

# The stand-in JVM lists the folder it is given, with modes and contents.
fake_jvm "$T/jvm" "cd \"\$1\" && pwd > '$T/dir.txt' && find . -mindepth 1 -printf '%p %m\n' | sort > '$T/seen.txt' && cat keymaps/default.keys >> '$T/seen.txt'"
jvm_description app.jvm "$T/jvm"
printf 'DESC: App\nCOMMAND: """@JVM_HOME@/@JVM_EXE@"" ""%%APP_DIR%%()"""\n' > launch.txt
printf 'INSTRUCTIONS:\n  LAUNCH "%s" 0\n/:\n' "$T/app.jvm" > instructions.txt
mkdir -p home/keymaps home/doc
echo "ctrl-s save" > home/keymaps/default.keys
printf '#!/bin/sh\n' > home/doc/tool.sh
chmod 755 home/doc/tool.sh
head -c 2000000 /dev/zero > home/doc/zeros.bin
make_launcher app.bin instructions=instructions.txt launch-script=launch.txt app-dir=home/ > /dev/null

run out ./app.bin
expect_eq "status (output: $out)" 0 "$status"
case $(cat dir.txt) in
  "$T/tmp/lxj"*/home) ;;
  *) fail "%APP_DIR%() named $(cat dir.txt), not a folder in the temporary directory" ;;
esac
expect_eq "the unpacked folder" "./doc 700
./doc/tool.sh 700
./doc/zeros.bin 600
./keymaps 700
./keymaps/default.keys 600
ctrl-s save" "$(cat seen.txt)"
[ -z "$(ls -A tmp)" ] || fail "left in the temporary directory: $(ls -A tmp)"

# One flipped bit in the folder's bytes.
offset=$("$LXPACK" list -p app.bin | awk -F'\t' '$1 == "entry" && $NF == "home" { print $5 }')
cp app.bin damaged.bin
byte=$(od -An -tu1 -j $((offset + 10)) -N1 damaged.bin | tr -d ' ')
printf "$(printf '\\%03o' $((byte ^ 4)))" | dd of=damaged.bin bs=1 seek=$((offset + 10)) conv=notrunc status=none
rm -f seen.txt
run out ./damaged.bin
expect_eq "damaged: status" 255 "$status"
expect_eq "damaged: console" "The launcher file is damaged: its embedded file home is not what was packed into it. Please download the launcher again." "$out"
[ ! -e seen.txt ] || fail "damaged: the program ran"
[ -z "$(ls -A tmp)" ] || fail "damaged: left in the temporary directory: $(ls -A tmp)"
run checked "$LXPACK" check damaged.bin
expect_eq "damaged: check status" 1 "$status"
expect_contains "damaged: check" "(home): its bytes do not match their checksum" "$checked"

# Without checksums, damage shows when the folder is unpacked: the launcher
# refuses it and removes what it had unpacked, and lxpack check tells.
make_launcher unchecked.bin --no-checksums instructions=instructions.txt launch-script=launch.txt app-dir=home > /dev/null
offset=$("$LXPACK" list -p unchecked.bin | awk -F'\t' '$1 == "entry" && $NF == "home" { print $5 }')
length=$("$LXPACK" list -p unchecked.bin | awk -F'\t' '$1 == "entry" && $NF == "home" { print $4 }')
printf 'garbage!' | dd of=unchecked.bin bs=1 seek=$((offset + length / 2)) conv=notrunc status=none
rm -f seen.txt
run out ./unchecked.bin
expect_eq "damaged without checksums: status" 255 "$status"
expect_contains "damaged without checksums: message" "Invalid " "$out"
[ ! -e seen.txt ] || fail "damaged without checksums: the program ran"
[ -z "$(ls -A tmp)" ] || fail "damaged without checksums: left in the temporary directory: $(ls -A tmp)"
run checked "$LXPACK" check unchecked.bin
expect_eq "damaged without checksums: check status" 1 "$status"
expect_contains "damaged without checksums: check" "(home): the launcher could not unpack this folder: Invalid " "$checked"

# -lx:extract writes the folder itself, not its compressed bytes.
mkdir extracted
(cd extracted && ../app.bin -lx:extract > /dev/null) || fail "-lx:extract ended with $?"
cmp -s home/keymaps/default.keys extracted/home/keymaps/default.keys || fail "-lx:extract did not unpack the folder"
cmp -s home/doc/zeros.bin extracted/home/doc/zeros.bin || fail "-lx:extract did not unpack the folder's large file"

# lxpack carries what a link points to, as cp -rL copies it: the user's
# machine has none of the places it points to. A link to nothing and a
# loop of links are refused, and so is a pipe or device; nothing is
# written then.
mkdir -p linked/sub fifo dangling looped/sub
echo "outside the folder" > outside.txt
ln -s "$T/outside.txt" linked/sub/outside.txt
make_launcher linked.bin instructions=instructions.txt launch-script=launch.txt app-dir=linked > /dev/null
mkdir linked-extracted
(cd linked-extracted && ../linked.bin -lx:extract > /dev/null) || fail "-lx:extract of the linked folder ended with $?"
[ -f linked-extracted/linked/sub/outside.txt ] && [ ! -L linked-extracted/linked/sub/outside.txt ] ||
  fail "the link was not carried as the file it points to: $(ls -lR linked-extracted)"
expect_eq "the file a link points to" "outside the folder" "$(cat linked-extracted/linked/sub/outside.txt)"
ln -s missing.jar dangling/gone.jar
ln -s .. looped/sub/up
mkfifo fifo/pipe
run out "$LXPACK" create --stub "$LXLAUNCHER" -o refused.bin instructions=instructions.txt launch-script=launch.txt app-dir=dangling
expect_eq "a link to nothing: status" 1 "$status"
expect_contains "a link to nothing: message" "dangling/gone.jar is a symbolic link to missing.jar, which does not exist" "$(cat "$T/.stderr")"
run out "$LXPACK" create --stub "$LXLAUNCHER" -o refused.bin instructions=instructions.txt launch-script=launch.txt app-dir=looped
expect_eq "a loop: status" 1 "$status"
expect_contains "a loop: message" "looped/sub/up leads back to looped, which holds it" "$(cat "$T/.stderr")"
run out "$LXPACK" create --stub "$LXLAUNCHER" -o refused.bin instructions=instructions.txt launch-script=launch.txt app-dir=fifo
expect_eq "a pipe: status" 1 "$status"
expect_contains "a pipe: message" "fifo/pipe is no file or directory (a device, pipe or socket)" "$(cat "$T/.stderr")"
[ ! -e refused.bin ] || fail "lxpack wrote a launcher with a dangling link, a loop or a pipe in the folder"

# 2 MB of zeros compress to a few KB, but unpacked they need 2 MB.
mount_tmpfs small size=1m
rm -f seen.txt
run out env TMPDIR="$T/small" ./app.bin
expect_eq "too little space: status" 255 "$status"
expect_eq "too little space: message" "App
Error writing file =  There may not be enough temporary disk space. Try using -lx:tempdir to use a temporary directory on a partition with more disk space." "$out"
[ ! -e seen.txt ] || fail "too little space: the program ran"
[ -z "$(ls -A small)" ] || fail "too little space: left behind: $(ls -A small)"
