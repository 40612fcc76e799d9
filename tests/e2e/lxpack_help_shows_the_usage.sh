#!/usr/bin/env bash
# lxpack --help shows how to call it.
source "$(dirname "$0")/common.inc"
need_lxpack

"$LXPACK" --help | grep -q '^Usage: lxpack COMMAND' || fail "--help shows no usage"
