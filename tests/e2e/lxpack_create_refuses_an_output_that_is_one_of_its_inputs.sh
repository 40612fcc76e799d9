#!/usr/bin/env bash
# lxpack create replaces the file its output names. When that file is one
# the launcher is made from (the main jar, the launcher program, a
# --class-path jar, a jar a manifest names, a file of --app-dir, a
# TYPE=FILE), it is refused with status 2 and every input is left as it
# was: also when another name reaches the same file, a hard link or a
# symbolic link, which no comparison of names would tell.
source "$(dirname "$0")/common.inc"
source "$(dirname "$0")/jar_launcher.inc"

main_source
mkdir -p app/lib folder/sub
javac --release 17 -d classes src/Main.java
jar --create --file app/lib/named.jar -C classes .
jar --create --file app/lib/dep.jar -C classes .
printf 'Main-Class: Main\nClass-Path: lib/named.jar\n' > app.mf
jar --create --file app/app.jar --manifest app.mf -C classes .
echo "the program's data" > folder/sub/data.txt
echo "an instructions script" > instructions.txt
cp "$LXLAUNCHER" prog
ln app/app.jar hard.jar
ln -s app.jar app/soft.jar
ln -s prog prog-link

inputs=(prog app/app.jar app/lib/dep.jar app/lib/named.jar folder/sub/data.txt instructions.txt)
inputs_state() {
  sha256sum "${inputs[@]}"
  stat -c "%n %h %F" hard.jar app/soft.jar prog-link
  readlink app/soft.jar prog-link
}
before=$(inputs_state)

# expect_refused WHAT OUTPUT INPUT-PHRASE LXPACK-CREATE-ARGUMENTS...
expect_refused() {
  local what=$1 out=$2 input=$3
  shift 3
  set +e
  "$LXPACK" create "$@" -o "$out" > out.txt 2> err.txt
  status=$?
  set -e
  expect_eq "$what: status" 2 "$status"
  expect_eq "$what: message" "lxpack: --output $out is $input: writing the launcher there would replace it; give another output
Try 'lxpack --help' for more information." "$(grep -v '^lxpack: carrying named.jar ' err.txt)"
  expect_eq "$what: the inputs" "$before" "$(inputs_state)"
  [ -z "$(find . -name '*.lxpack-*')" ] || fail "$what: a temporary file was left: $(find . -name '*.lxpack-*')"
  expect_clean_tmp "$what"
}

carries=" the launcher carries"
other=" (the same file under another name)"
# what | --main-jar | -o | the input named
while IFS='|' read -r what jar out input; do
  expect_refused "$what" "$out" "$input" --main-jar "$jar" --class-path app/lib/dep.jar --app-dir folder \
    --java 17+ -s prog
done <<TABLE
the main jar|app/app.jar|app/app.jar|the file app/app.jar$carries
the program given with -s|app/app.jar|prog|the launcher program prog
a --class-path jar|app/app.jar|app/lib/dep.jar|the file app/lib/dep.jar$carries
a jar the manifest names|app/app.jar|app/lib/named.jar|the file app/lib/named.jar$carries
a file inside --app-dir|app/app.jar|folder/sub/data.txt|the file folder/sub/data.txt of the folder folder$carries
--app-dir itself|app/app.jar|folder|the folder folder$carries
a hard link to the main jar|app/app.jar|hard.jar|the file app/app.jar$carries$other
a symbolic link to the main jar|app/app.jar|app/soft.jar|the file app/app.jar$carries$other
the main jar given through a link|app/soft.jar|app/app.jar|the file app/soft.jar$carries$other
a symbolic link to the program|app/app.jar|prog-link|the launcher program prog$other
TABLE

# The form that takes every file from the command line.
while IFS='|' read -r what out input; do
  expect_refused "$what" "$out" "$input" -s prog instructions=instructions.txt application=app/app.jar app-dir=folder
done <<TABLE
a TYPE=FILE|app/app.jar|the file app/app.jar$carries
a TYPE=FILE through a hard link|hard.jar|the file app/app.jar$carries$other
a file inside app-dir=|folder/sub/data.txt|the file folder/sub/data.txt of the folder folder$carries
the program given with -s, without --main-jar|prog-link|the launcher program prog$other
TABLE

# The same command line with an output of its own writes the launcher, and
# writes it again over the launcher made before, which is no input.
for round in first second; do
  "$LXPACK" create --main-jar app/app.jar --class-path app/lib/dep.jar --app-dir folder --java 17+ -s prog \
    -o app.bin 2> pack.err || fail "lxpack create ($round) ended with $?: $(cat pack.err)"
  expect_eq "the inputs after the $round launcher" "$before" "$(inputs_state)"
done
"$LXPACK" check app.bin > /dev/null || fail "lxpack check refused the launcher"
