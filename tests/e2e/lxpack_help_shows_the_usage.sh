#!/usr/bin/env bash
# lxpack --help shows how to call it.
source "$(dirname "$0")/common.inc"
need_lxpack

usage=$("$LXPACK" --help) || fail "--help ended with status $?"
grep -q '^Usage: lxpack COMMAND' <<< "$usage" || fail "--help shows no usage: $usage"
