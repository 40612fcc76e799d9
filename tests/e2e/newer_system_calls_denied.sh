#!/usr/bin/env bash
# Every system call younger than Linux 3.10 that the launcher makes has a
# fallback with the same result. Under a seccomp filter that makes those
# calls fail (as a 3.10 kernel does; with ENOSYS, EPERM or EINVAL as
# containers do; or answering 0 where the answer is a byte count), the demo
# launcher and -lx:extract of a 300 MiB entry print the same, end with the
# same status, give back every byte and leave nothing in the temporary
# directory, as they do without the filter.
source "$(dirname "$0")/common.inc"
need_lxpack
deny=${DENY_SYSCALLS:-}
[ -n "$deny" ] && [ -x "$deny" ] || fail "the denial harness deny_syscalls was not built (it needs libseccomp-dev: scripts/install-deps)"
demo=$LX_BUILD_DIR/demo/setup.bin
[ -x "$demo" ] || fail "the demo launcher was not built: $demo"
find_jdk >/dev/null
# Every run verifies for itself: an answer remembered from the first run
# would make the later ones shorter (fewer progress dots) for another reason.
export LX_JVM_CACHE=0

set +e
"$deny" linux-3.10 -- true 2>"$T/.stderr"
status=$?
set -e
[ "$status" -ne 125 ] || skip "this system does not let a process filter its system calls: $(cat "$T/.stderr")"
[ "$status" -eq 0 ] || fail "deny_syscalls cannot run a program (status $status): $(cat "$T/.stderr")"

modes="linux-3.10 enosys eperm einval zero"
mkdir tmp out
export TMPDIR=$T/tmp

# Unique bytes at every position (decimal line numbers), so that a chunk
# written in the wrong place, twice or not at all shows. Made again for
# each comparison rather than kept, to spare 300 MiB of disk.
big_entry() { { seq 1 40000000 || true; } | head -c $((300 * 1024 * 1024)); }
big_entry > big.bin
printf 'INSTRUCTIONS:\n  INITIALIZE_UI\n/:\n' > instructions.txt
make_launcher big-setup.bin instructions=instructions.txt application=big.bin >/dev/null
rm big.bin

# leaves_nothing WHAT: the temporary directory is empty.
leaves_nothing() {
  [ -z "$(ls -A tmp)" ] || fail "$1: left in the temporary directory: $(ls -A tmp)"
}

# The temporary names the demo prints are random; all else must match.
same_names() { sed -E 's/lxj[A-Za-z0-9]{6}/lxjXXXXXX/g'; }

# With a filter the fallbacks of glibc, the shell and the JVM run as well;
# what the demo prints depends on none of them.
run expected "$demo" extra-arg </dev/null
expected_status=$status
expect_eq "demo status without a filter" 0 "$expected_status"
expect_contains "demo greeting without a filter" "Welcome to the demo setup wizard." "$expected"
expected=$(same_names <<<"$expected")
leaves_nothing "demo without a filter"
for mode in $modes; do
  run out "$deny" "$mode" -- "$demo" extra-arg </dev/null
  expect_eq "demo status under $mode ($(cat "$T/.stderr"))" "$expected_status" "$status"
  expect_eq "demo output under $mode" "$expected" "$(same_names <<<"$out")"
  leaves_nothing "demo under $mode"
done

# extract_under WHAT [deny_syscalls MODE --]: -lx:extract into out/, which
# must succeed and give back every byte; its output is left in $out.
extract_under() {
  local what=$1; shift
  rm -rf out && mkdir out
  cd out
  run out "$@" "$T/big-setup.bin" -lx:extract </dev/null
  cd "$T"
  expect_eq "$what: status ($(cat "$T/.stderr"))" 0 "$status"
  big_entry | cmp - out/big.bin || fail "$what: big.bin differs from the packed bytes"
  cmp instructions.txt out/instructions.txt || fail "$what: instructions.txt differs"
  leaves_nothing "$what"
}
extract_under "-lx:extract without a filter"
expected=$out
expected_input=$(cat out/input.tag)
for mode in $modes; do
  extract_under "-lx:extract under $mode" "$deny" "$mode" --
  expect_eq "-lx:extract output under $mode" "$expected" "$out"
  expect_eq "input.tag under $mode" "$expected_input" "$(cat out/input.tag)"
done
rm -rf out
