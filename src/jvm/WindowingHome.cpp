#include "jvm/WindowingHome.h"

#include "fsutil/Platform.h"

bool HomeCanOpenWindows(const SString& javaHome) {
  // Java 8 names the processor directory as its os.arch does.
#if defined(__aarch64__)
  static const char* const kPlaces[] = {"/lib/", "/lib/aarch64/", "/jre/lib/aarch64/"};
#else
  static const char* const kPlaces[] = {"/lib/", "/lib/amd64/", "/jre/lib/amd64/"};
#endif
  for (const char* place : kPlaces) {
    if (FileExists(javaHome + place + "libawt_xawt.so")) return true;
  }
  return false;
}

bool DisplayAvailable() { return !GetEnv("DISPLAY").empty() || !GetEnv("WAYLAND_DISPLAY").empty(); }
