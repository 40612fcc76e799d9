#!/usr/bin/env bash
# lxpack COMMAND --help shows that command's usage (wherever --help stands
# among its options) and runs nothing; lxpack --help shows every command.
source "$(dirname "$0")/common.inc"
need_lxpack

for command in create init list check extract keys sign verify; do
  run help "$LXPACK" "$command" --help
  expect_eq "$command --help: status" 0 "$status"
  expect_contains "$command --help" "Usage:
  lxpack $command " "$help"
  expect_contains "lxpack --help shows $command" "${help#Usage:$'\n'}" "$("$LXPACK" --help)"
done
run help "$LXPACK" create -o out.bin --help instructions=missing.txt
expect_eq "create with --help among its options: status" 0 "$status"
expect_contains "create with --help among its options" "--force" "$help"
[ ! -e out.bin ] || fail "create --help wrote a launcher"
