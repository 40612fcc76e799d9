#!/usr/bin/env bash
# A syntax error in an embedded tag file names the entry and its line, and
# the launcher runs nothing. The packer refuses such files, so a good
# launcher is damaged afterwards: the block's completer "/:" becomes "/x"
# (in a launcher without checksums, which would tell it as damage).
source "$(dirname "$0")/common.inc"
need_lxpack

printf 'INSTRUCTIONS:\n  SET N1 = 1\n/:\n' > good.txt
make_launcher broken.bin --no-checksums --name instructions.txt instructions=good.txt >/dev/null
offset=$("$LXPACK" list -p broken.bin | awk -F'\t' '$1 == "entry" { print $5 }')
put_bytes broken.bin $((offset + 28)) 'x'
run out ./broken.bin
expect_eq "syntax error in the embedded instructions" "Unable to load the launcher file index. Syntax error in instructions.txt at line 1 ==> Missing /: tag completer." "$out"
expect_eq "syntax error status" 255 "$status"
