#!/usr/bin/env bash
# lxpack create refuses, at packing time, a tag file the launcher could not
# parse on the user's machine, with the launcher's own message; the refused
# run leaves an existing output untouched and no file behind.
source "$(dirname "$0")/common.inc"
source "$(dirname "$0")/lxpack_refusals.inc"

refused 1 "lxpack: launch.txt (launch.txt): Expected double quote to end argument near " \
  instructions=instr.txt launch-script=launch.txt
refused 1 "lxpack: open-block.jvm (open-block.jvm): Syntax error in open-block.jvm at line 2 ==> Missing /: tag completer." \
  instructions=instr.txt jvm=open-block.jvm
refused 1 "lxpack: no-newline.jvm: a tag file must end with a line feed" jvm=no-newline.jvm
