// Whether a JVM can open windows. Many servers and some distributions
// (Fedora's java-*-headless) install JVMs without the windowing library;
// a graphical wizard started on one dies with a HeadlessException. On a
// desktop such a JVM is therefore the last choice.
#pragma once

#include "base/SString.h"

// True when the home has the AWT library for X11: lib/libawt_xawt.so, or
// lib/<arch>/libawt_xawt.so in Java 8 layouts (also below jre/).
bool HomeCanOpenWindows(const SString& javaHome);

// True when a graphical session is there: DISPLAY or WAYLAND_DISPLAY set.
bool DisplayAvailable();
