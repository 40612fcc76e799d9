#!/usr/bin/env bash
# lxpack create with a wrong command line says what is wrong and ends with
# status 2 (a build script can tell a usage error from a refused input),
# leaving an existing output untouched.
source "$(dirname "$0")/common.inc"
source "$(dirname "$0")/lxpack_refusals.inc"

refused 2 "lxpack: unknown file type 'jar' in 'jar=instr.txt'" jar=instr.txt
refused 2 "lxpack: --name must be followed by the TYPE=FILE it describes" application=instr.txt --name x
refused 2 "lxpack: invalid launcher kind '256': expected a number from 0 to 255" --kind 256 application=instr.txt
refused 2 "lxpack: invalid id '4294967296'" --id 4294967296 application=instr.txt
refused 2 "lxpack: no TYPE=FILE to embed"
