#!/usr/bin/env bash
# An input file named after -lx:in that cannot be opened stops the run with
# the final wording of the failure and status 255: a calling program that
# got the name wrong must not see the embedded scripts run instead.
source "$(dirname "$0")/common.inc"
need_lxpack
script_launcher setup.bin "SET S1 = embedded" "SET N1 = @S1@"

run out ./setup.bin -lx:in "$T/missing.tag"
expect_eq "missing input file" "Could not load the input file.Unable to open input file specified on the command line after the -in option.
Unable to open input file specified on the command line after the -in option." "$out"
expect_eq "missing input file status" 255 "$status"
