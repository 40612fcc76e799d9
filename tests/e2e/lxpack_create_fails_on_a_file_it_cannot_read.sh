#!/usr/bin/env bash
# lxpack create with a file to embed that cannot be read fails with the
# system's reason and status 1, leaving an existing output untouched and no
# half-written launcher behind.
source "$(dirname "$0")/common.inc"
source "$(dirname "$0")/lxpack_refusals.inc"

refused 1 "lxpack: Cannot open missing.jar: No such file or directory" application=missing.jar
