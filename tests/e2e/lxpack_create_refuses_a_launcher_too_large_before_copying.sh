#!/usr/bin/env bash
# A launcher's offsets are 32 bits: lxpack create refuses one that would end
# beyond 4 GiB, and it does so before copying anything, not after copying
# gigabytes. The output goes to a 20 MB file system here, so a copy would
# end in "No space left on device" instead of the refusal.
source "$(dirname "$0")/common.inc"
need_lxpack
printf 'INSTRUCTIONS:\n  SET N1 = 1\n/:\n' > instructions.txt
truncate -s 4300M big.jar   # sparse: it takes no room
mkdir small

in_small_file_system() {
  unshare -m -- bash -c 'mount -t tmpfs -o size=20m small "$1" || exit 99; shift; "$@"; status=$?; ls -A "'"$T"'/small"; exit $status' \
    in_small_file_system "$T/small" "$@"
}
in_small_file_system true || fail "cannot mount a small file system: 'unshare -m' and mount were refused (the test needs root)"

run out in_small_file_system "$LXPACK" create --force --stub "$LXLAUNCHER" --output "$T/small/setup.bin" \
  instructions=instructions.txt classpath=big.jar
expect_eq "status" 1 "$status"
expect_eq "message" "lxpack: The launcher would be too large: big.jar would end beyond 4 GiB, where 32-bit offsets cannot reach." "$(cat "$T/.stderr")"
expect_eq "left in the output directory" "" "$out"
