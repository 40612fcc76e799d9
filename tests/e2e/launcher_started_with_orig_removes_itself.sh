#!/usr/bin/env bash
# A launcher that another launcher handed over to (EXECUTE_LAUNCHER, which
# starts it with -lx:orig) removes its own file and directory at its end,
# and leaves the original launcher alone: otherwise every setup would leave
# a copy in TMPDIR. What proves the hand-over (an environment variable and
# an inherited pipe) reaches neither the program it starts nor its output.
source "$(dirname "$0")/common.inc"
need_lxpack
mkdir tmp
export TMPDIR=$T/tmp

# The program lists the launcher variables it got and the descriptors
# above the standard ones with what they are (a pipe or a file, not which).
fake_jvm "$T/jvm" 'env | grep "^LX_" | sort
for f in /proc/$$/fd/*; do n=${f##*/}; [ "$n" -gt 2 ] && echo "fd $n $(readlink "$f" | sed "s/[[:digit:]]//g")"; done; exit 0'
jvm_description inner.jvm "$T/jvm"
printf 'DESC: Inner\nDISPLAY_CONSOLE: 1\nCOMMAND: """@JVM_HOME@/@JVM_EXE@"" "\n' > inner-launch.txt
printf 'INSTRUCTIONS:\n  LAUNCH "%s" 0\n/:\n' "$T/inner.jvm" > inner-instructions.txt
make_launcher inner.bin instructions=inner-instructions.txt launch-script=inner-launch.txt >/dev/null 2>&1
printf 'INSTRUCTIONS:\n  EXECUTE_LAUNCHER 1\n/:\n' > outer-instructions.txt
make_launcher setup.bin instructions=outer-instructions.txt launcher=inner.bin >/dev/null 2>&1

# What the program sees when the embedded launcher runs on its own.
run alone ./inner.bin
expect_eq "embedded launcher on its own" 0 "$status"

run out ./setup.bin
expect_eq "handed-over run status" 0 "$status"
[ -z "$(ls -A tmp)" ] || fail "the embedded launcher's directory was left behind: $(ls -A tmp)"
[ -e setup.bin ] || fail "the original launcher was removed"
# The first launcher's progress dots end their own line.
out=$(printf '%s\n' "$out" | sed -E 's/^\.+//; /^$/d')
expect_eq "what the program got after the hand-over" "$alone" "$out"
