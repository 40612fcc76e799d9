#!/usr/bin/env bash
# -lx:help lists the launcher's own options, one line each, in the user's
# language, ends with 0 and runs no instructions (nor passes itself on to the
# program).
source "$(dirname "$0")/common.inc"
need_lxpack
# Instructions that would fail (status 255) if they ran.
script_launcher setup.bin "GOTO NOWHERE"

run out ./setup.bin -lx:help
expect_eq "status" 0 "$status"
expect_eq "the options" "Launcher options, before the program's arguments (-- ends them):
  -lx:help          show these options
  -lx:version       show the launcher's version
  -lx:log FILE      append a diagnostic log to FILE
  -lx:javahome DIR  try the Java in DIR first
  -lx:tempdir DIR   temporary files in DIR, unless TMPDIR is set
  -lx:silent        print nothing
  -lx:javaconsole   run the program on this terminal, output shown
  -lx:extract       unpack the embedded files here
  -lx:in FILE       do what the input file FILE asks
  -cp:p ENTRIES     class path entries before all others
  -cp:a ENTRIES     class path entries after all others" "$out"

LANG=fr_FR.UTF-8 run out ./setup.bin -lx:help
expect_eq "French status" 0 "$status"
expect_contains "French heading" "Options du lanceur, avant les arguments du programme (-- les termine) :" "$out"
expect_contains "French line" "  -lx:javahome DIR  essayer d'abord la Java de DIR" "$out"
expect_eq "French lines" 12 "$(wc -l <<<"$out")"
