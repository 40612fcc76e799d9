#!/usr/bin/env bash
# INSTALL_JVM runs the installer carried in the archive in a fresh
# directory, with its output kept off the console, completes the jvm
# description it leaves there (a temporary JVM) and hands it to LAUNCH; the
# installed JVM is removed at the end with the other temporary files.
source "$(dirname "$0")/common.inc"
source "$(dirname "$0")/bundled_jvm.inc"

make_launcher setup.bin instructions=instructions.txt launch-script=launch.txt jvm-installer=installer.sh >/dev/null
run out ./setup.bin -lx:log "$T/install.log"
expect_eq "launched with the installed JVM" 6 "$status"
expect_contains "JVM_TEMP of an installed JVM" "installed java temp=1" "$out"
case "$out" in *"installer ran"*) fail "the installer's output was not captured: $out" ;; esac
[ -z "$(ls -A tmp)" ] || fail "temporary files left behind: $(ls -A tmp)"
