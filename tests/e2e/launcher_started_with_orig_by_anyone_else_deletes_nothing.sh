#!/usr/bin/env bash
# -lx:orig makes a launcher delete its own file and directory at its end; it
# serves the hand-over from the launcher an embedded one was extracted
# from, which proves it with an environment variable naming an inherited
# pipe and a random token the pipe repeats, with the directory it handed
# over. Given by anyone else, as an option, after "--" or among the
# program's arguments, it deletes nothing: as an option it is refused with a
# message, and the run goes on.
source "$(dirname "$0")/common.inc"
need_lxpack
mkdir d
script_launcher d/setup.bin "SET N1 = 1"
refused="-lx:orig is refused: only a launcher handing over to the launcher embedded in it may give it. Nothing is deleted."
token=0123456789abcdef0123456789abcdef

# with_proof TOKEN PIPE-TOKEN DIRECTORY CMD...: runs CMD with a pipe holding
# PIPE-TOKEN and DIRECTORY as the hand-over's, its number and TOKEN in
# LX_HANDOVER.
with_proof() {
  python3 -c '
import os, sys
token, pipe_token, directory, command = sys.argv[1], sys.argv[2], sys.argv[3], sys.argv[4:]
read_end, write_end = os.pipe()
os.write(write_end, (pipe_token + "\n" + directory).encode())
os.close(write_end)
os.dup2(read_end, 9)
os.environ["LX_HANDOVER"] = "9:" + token
os.execvp(command[0], command)
' "$@"
}

# how | expected output
cases=(
  "plain|$refused"
  "after-end|"
  "after-argument|"
  "no-pipe|$refused"
  "wrong-token|$refused"
  "other-directory|$refused"
)
for case in "${cases[@]}"; do
  how=${case%%|*}
  case $how in
    plain) run out ./d/setup.bin -lx:orig x ;;
    after-end) run out ./d/setup.bin -- -lx:orig x ;;
    after-argument) run out ./d/setup.bin a -lx:orig x ;;
    no-pipe) LX_HANDOVER="9:$token" run out ./d/setup.bin -lx:orig x ;;
    wrong-token) run out with_proof "$token" fedcba9876543210fedcba9876543210 "$T/d" ./d/setup.bin -lx:orig x ;;
    other-directory) mkdir -p other; run out with_proof "$token" "$token" "$T/other" ./d/setup.bin -lx:orig x ;;
  esac
  expect_eq "$how: output" "${case#*|}" "$out"
  expect_eq "$how: status (the instructions ran)" 0 "$status"
  [ -e d/setup.bin ] || fail "$how: -lx:orig deleted the launcher"
done

# The proof itself works: with it the launcher removes its file and
# directory, as after a real hand-over. It serves one -lx:orig, the first:
# one the user gave, which the hand-over passes on after its own, is
# refused.
run out with_proof "$token" "$token" "$T/d" ./d/setup.bin -lx:orig x
expect_eq "proven: output" "" "$out"
expect_eq "proven: status" 0 "$status"
[ ! -e d ] || fail "with the proof, the launcher's file and directory were left"

mkdir d
script_launcher d/setup.bin "SET N1 = 1"
run out with_proof "$token" "$token" "$T/d" ./d/setup.bin -lx:orig x -lx:orig y
expect_eq "proven, then the user's: output" "$refused" "$out"
[ ! -e d ] || fail "with the proof and a second -lx:orig, the launcher's file and directory were left"
