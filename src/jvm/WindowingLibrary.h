// A GUI wizard needs a JVM that can open windows, and a display to open them
// on. Headless JDKs (Fedora's java-*-headless, server and container images)
// lack AWT's X11 library and end such a wizard with a HeadlessException the
// user can do nothing about; without a display even a full JDK fails so.
#pragma once

#include "base/SString.h"

// Whether the JVM at javaHome carries AWT's windowing library
// libawt_xawt.so: in lib/ (Java 9 on), in lib/<arch>/ (Java 8 and older),
// or in the same places under jre/ (the home of a Java 8 JDK).
bool HomeCanOpenWindows(const SString& javaHome);

// Whether the session has a display for windows: DISPLAY or WAYLAND_DISPLAY
// is set and not empty.
bool DisplayAvailable();
