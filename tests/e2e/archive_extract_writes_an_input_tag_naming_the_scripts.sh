#!/usr/bin/env bash
# -lx:extract writes an input.tag that names the unpacked instructions,
# launch script and JVM descriptions, so that -lx:in input.tag runs the
# unpacked files as the launcher would have run the embedded ones.
source "$(dirname "$0")/common.inc"
source "$(dirname "$0")/extracted_archive.inc"

expect_eq "input.tag" "ACTION:  RUN_INSTRUCTIONS
INSTRUCTIONS:  instructions.txt
LAUNCHSCRIPT:  launch.txt
JVM:
  jdk11.jvm
  jdk17.jvm
/:" "$(cat out/input.tag)"
