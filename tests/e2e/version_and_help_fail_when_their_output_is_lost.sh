#!/usr/bin/env bash
# -lx:version and -lx:help print what the caller asked for: when standard
# output cannot take it (a full disk, /dev/full here) the run fails with
# 255 and the log says why, instead of ending with 0 as if it had been
# printed. With -lx:silent there is nothing to print, and nothing fails.
source "$(dirname "$0")/common.inc"
need_lxpack
script_launcher setup.bin "SET N1 = 1"
[ -w /dev/full ] || fail "/dev/full is missing: the test needs a device that refuses writes"

for option in -lx:version -lx:help; do
  set +e
  ./setup.bin -lx:log "$T/$option.log" "$option" >/dev/full 2>/dev/null
  status=$?
  set -e
  expect_eq "$option into /dev/full: status" 255 "$status"
  expect_contains "$option into /dev/full: log" \
    "ERROR: The answer could not be written to standard output: No space left on device" "$(cat "$T/$option.log")"

  set +e
  ./setup.bin -lx:silent "$option" >/dev/full 2>/dev/null
  status=$?
  set -e
  expect_eq "$option silent into /dev/full: status" 0 "$status"

  run out ./setup.bin "$option"
  expect_eq "$option to a pipe: status" 0 "$status"
done
