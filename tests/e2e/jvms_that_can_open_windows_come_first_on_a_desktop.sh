#!/usr/bin/env bash
# With a display (DISPLAY or WAYLAND_DISPLAY set), matching JVMs that can
# open windows are tried before headless ones, whatever their version: a
# graphical wizard on a headless JVM could only fail. Without a display the
# newest is taken.
source "$(dirname "$0")/common.inc"
source "$(dirname "$0")/java_choice.inc"
export LX_JVM_CACHE=0
unset DISPLAY WAYLAND_DISPLAY

stand_in "$T/headless-25" 25.0.1
stand_in "$T/desktop-17" 17.0.9
mkdir -p desktop-17/lib
: > desktop-17/lib/libawt_xawt.so
# A Java 8 layout keeps the library below the processor's directory.
stand_in "$T/desktop-8/jre" 1.8.0_392
mkdir -p desktop-8/jre/lib/amd64 desktop-8/jre/lib/aarch64
: > desktop-8/jre/lib/amd64/libawt_xawt.so
: > desktop-8/jre/lib/aarch64/libawt_xawt.so
hints=("PATH_HINT:" "  $T/headless-25" "  $T/desktop-17" "  $T/desktop-8/jre" "/:")

choose "JAVA_VERSION: 8+" "${hints[@]}"
expect_eq "without a display: the newest" "$T/headless-25" "$chosen"
rm -f headless-25.starts
DISPLAY=:9 choose "JAVA_VERSION: 8+" "${hints[@]}"
expect_eq "with DISPLAY: the newest that can open windows" "$T/desktop-17" "$chosen"
expect_eq "the headless one was not started" 0 "$(starts "$T/headless-25")"
WAYLAND_DISPLAY=wayland-0 choose "JAVA_VERSION: 8-11" "${hints[@]}"
expect_eq "with WAYLAND_DISPLAY: a Java 8 that can open windows" "$T/desktop-8/jre" "$chosen"
DISPLAY=:9 choose "JAVA_VERSION: 21+" "${hints[@]}"
expect_eq "a headless JVM is still taken when it is the only match" "$T/headless-25" "$chosen"
