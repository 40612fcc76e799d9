#!/usr/bin/env bash
# A SEARCH whose answer cannot reach the calling program (standard output
# full or closed) has failed: the launcher ends with 255, says why in the
# log, and removes the description file that no caller will ever learn of.
source "$(dirname "$0")/common.inc"
source "$(dirname "$0")/discovery.inc"
matching_description match.jvm
# The input file's LOGFILE decides where the log goes.
printf 'ACTION: SEARCH\nJVM: %s\nLOGFILE: %s\n' "$T/match.jvm" "$T/run.log" > search.tag

for target in full closed; do
  rm -f run.log
  set +e
  if [ "$target" = full ]; then
    ./setup.bin -lx:in search.tag > /dev/full
  else
    ./setup.bin -lx:in search.tag >&-
  fi
  status=$?
  set -e
  expect_eq "status with standard output $target" 255 "$status"
  grep -q "^ERROR: The answer could not be written to standard output: " run.log ||
    { cat run.log; fail "the log does not say why ($target)"; }
  [ -z "$(ls -A tmp)" ] || fail "left behind with standard output $target: $(ls -A tmp)"
done
