#!/usr/bin/env bash
# lxpack create refuses an embedded file name that the launcher would not
# extract (here "..", which leaves nothing once directories are taken
# away); the refused run leaves an existing output untouched.
source "$(dirname "$0")/common.inc"
source "$(dirname "$0")/lxpack_refusals.inc"

refused 1 "lxpack: instr.txt: invalid name '..': an embedded file name must not be empty" --name .. application=instr.txt
