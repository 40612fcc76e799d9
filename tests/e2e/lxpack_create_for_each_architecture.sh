#!/usr/bin/env bash
# lxpack create takes the launcher program of the architecture asked for
# (by default this machine's) from next to itself, refuses a program of
# another architecture or none, and the same files give the same entries
# whatever the architecture; list and check show it.
source "$(dirname "$0")/common.inc"
need_lxpack

machine=$(uname -m)
printf 'INSTRUCTIONS:\n  INITIALIZE_UI\n/:\n' > instr.txt
head -c 3000 /dev/urandom > app.jar

# create_fails WHAT STATUS MESSAGE LXPACK-ARGS...: lxpack create exits with
# STATUS (2 wrong command line, 1 failed work) and says MESSAGE.
create_fails() {
  local what=$1 expected_status=$2 message=$3 status=0; shift 3
  "$LXPACK" create "$@" 2> err.txt || status=$?
  expect_eq "exit status: $what" "$expected_status" "$status"
  expect_contains "message: $what" "$message" "$(cat err.txt)"
}

# Without --stub or --arch: this machine's program, the one beside lxpack.
"$LXPACK" create -o native.bin instructions=instr.txt application=app.jar || fail "create without --stub failed"
p=$(file_size "$LXLAUNCHER")
cmp -n "$p" "$LXLAUNCHER" native.bin || fail "the default program is not $LXLAUNCHER"
expect_eq "check" "native.bin: OK, $machine, 2 entries" "$("$LXPACK" check native.bin)"
"$LXPACK" create --arch "$machine" -o named.bin instructions=instr.txt application=app.jar
cmp native.bin named.bin || fail "--arch $machine gives another launcher than the default"

create_fails "unknown architecture" 2 "unknown architecture 'sparc64': expected x86_64 or aarch64" \
  --arch sparc64 -o x.bin instructions=instr.txt
printf 'not a program\n' > text.stub
create_fails "stub that is no program" 1 "text.stub is not a launcher program" -s text.stub -o x.bin instructions=instr.txt
[ ! -e x.bin ] || fail "a refused create left x.bin behind"

if [ "$machine" = x86_64 ]; then other=aarch64; other_program=${LXLAUNCHER_AARCH64:-}; else other=x86_64; other_program=${LXLAUNCHER_X86_64:-}; fi
if [ -z "$other_program" ]; then
  echo "no $other launcher program built (no cross compiler): the cross-architecture half is not run"
  exit 0
fi

create_fails "program of another architecture" 1 "is a launcher program for $other, not $machine" \
  -s "$other_program" --arch "$machine" -o x.bin instructions=instr.txt
"$LXPACK" create --arch "$other" -o other.bin instructions=instr.txt application=app.jar || fail "create --arch $other failed"
cmp -n "$(file_size "$other_program")" "$other_program" other.bin || fail "--arch $other did not take $other_program"
expect_eq "check $other" "other.bin: OK, $other, 2 entries" "$("$LXPACK" check other.bin)"
expect_contains "list $other" "architecture: $other" "$("$LXPACK" list other.bin)"

# The entries are the same bytes, only their offsets follow the program.
mkdir native other
"$LXPACK" extract -C native native.bin
"$LXPACK" extract -C other other.bin
for f in instr.txt app.jar; do
  cmp "native/$f" "other/$f" || fail "$f differs between the $machine and the $other launcher"
  cmp "$f" "other/$f" || fail "$f changed in the $other launcher"
done
