#!/usr/bin/env bash
# lxpack create refuses, at packing time, what would fail on the user's
# machine: a tag file the launcher cannot parse (with the launcher's own
# message), a name the launcher would not extract, a program that already
# carries an archive. A refused or failed run leaves no file behind and an
# existing output untouched; a wrong command line exits with 2.
source "$(dirname "$0")/common.inc"
need_lxpack

printf 'INSTRUCTIONS:\n  INITIALIZE_UI\n/:\n' > instr.txt
printf 'DESC: Product\nCOMMAND: "java -cp\n' > launch.txt
printf 'JVM_EXE: java\nPATH_HINT:\n  /usr/lib/jvm\n' > open-block.jvm
printf 'JVM_EXE: java' > no-newline.jvm
echo previous > setup.bin

# refused EXPECTED-STATUS EXPECTED-STDERR-LINE ARGS...
refused() {
  local want=$1 line=$2 status=0; shift 2
  make_launcher setup.bin "$@" 2> err.txt || status=$?
  expect_eq "exit status for $*" "$want" "$status"
  expect_contains "message for $*" "$line" "$(cat err.txt)"
  expect_eq "output untouched by $*" previous "$(cat setup.bin)"
  expect_eq "files left by $*" "err.txt instr.txt launch.txt no-newline.jvm open-block.jvm setup.bin" "$(echo $(ls))"
}

refused 1 "lxpack: launch.txt (launch.txt): Expected double quote to end argument near " \
  instructions=instr.txt launch-script=launch.txt
refused 1 "lxpack: open-block.jvm (open-block.jvm): Syntax error in open-block.jvm at line 2 ==> Missing /: tag completer." \
  instructions=instr.txt jvm=open-block.jvm
refused 1 "lxpack: no-newline.jvm: a tag file must end with a line feed" jvm=no-newline.jvm
refused 1 "lxpack: instr.txt: invalid name '..': an embedded file name must not be empty" --name .. application=instr.txt
refused 1 "lxpack: Cannot open missing.jar: No such file or directory" application=missing.jar
refused 2 "lxpack: unknown file type 'jar' in 'jar=instr.txt'" jar=instr.txt
refused 2 "lxpack: --name must be followed by the TYPE=FILE it describes" application=instr.txt --name x
refused 2 "lxpack: invalid launcher kind '256': expected a number from 0 to 255" --kind 256 application=instr.txt
refused 2 "lxpack: invalid id '4294967296'" --id 4294967296 application=instr.txt
refused 2 "lxpack: no TYPE=FILE to embed"

make_launcher inner.bin instructions=instr.txt
status=0
"$LXPACK" create -s inner.bin -o outer.bin application=instr.txt 2> err.txt || status=$?
expect_eq "stub with an archive" 1 "$status"
expect_contains "stub with an archive" "inner.bin already carries an archive" "$(cat err.txt)"
[ ! -e outer.bin ] || fail "outer.bin was written"

"$LXPACK" --help | grep -q '^Usage: lxpack COMMAND' || fail "--help shows no usage"
