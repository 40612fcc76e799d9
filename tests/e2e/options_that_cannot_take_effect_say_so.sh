#!/usr/bin/env bash
# An option that cannot take effect says so in one line, in the user's
# language, and the run goes on as it would without the line: -lx:log naming
# a file that cannot be written, -lx:javahome without a value or naming no
# directory. A missing log name names the option as it is typed.
source "$(dirname "$0")/common.inc"
need_lxpack
script_launcher setup.bin "SET N1 = 1"
touch plain-file
mkdir jdk

# case: arguments (";" between them) | the line shown, empty for none | status
cases=(
  "-lx:log;$T/missing/dir/setup.log|Cannot write the log file $T/missing/dir/setup.log, so there is no log: No such file or directory|0"
  "-lx:javahome|-lx:javahome needs a directory after it; ignored.|0"
  "-lx:javahome;$T/no-such-jdk|-lx:javahome $T/no-such-jdk: not a directory, so no Java is found there.|0"
  "-lx:javahome;$T/plain-file|-lx:javahome $T/plain-file: not a directory, so no Java is found there.|0"
  "-lx:javahome;|-lx:javahome needs a directory after it; ignored.|0"
  "-lx:log|A log file name must be specified after the -lx:log option on the command line.|0"
  "-lx:javahome;$T/jdk;-lx:log;$T/setup.log||0"
)
for c in "${cases[@]}"; do
  IFS='|' read -r argv line want <<<"$c"
  IFS=';' read -r -a args <<<"$argv"
  [ "${argv: -1}" = ";" ] && args+=("")
  run out ./setup.bin "${args[@]}"
  expect_eq "console for ${args[*]}" "$line" "$out"
  expect_eq "status for ${args[*]}" "$want" "$status"
done
[ -s setup.log ] || fail "the log that could be written was not"

# The same lines in German.
LANG=de_DE.UTF-8 run out ./setup.bin -lx:javahome "$T/no-such-jdk" -lx:log "$T/missing/x.log" -lx:log
expect_eq "German lines" "-lx:javahome $T/no-such-jdk: kein Verzeichnis, dort wird keine Java gefunden.
Die Protokolldatei $T/missing/x.log kann nicht geschrieben werden, es gibt kein Protokoll: No such file or directory
Nach der Option -lx:log muss in der Befehlszeile der Name einer Protokolldatei angegeben werden." "$out"
