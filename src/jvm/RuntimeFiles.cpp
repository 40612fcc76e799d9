#include "jvm/RuntimeFiles.h"

#include <cstdlib>

#if defined(__x86_64__)
#define LX_JAVA_ARCH "amd64"
#elif defined(__aarch64__)
#define LX_JAVA_ARCH "aarch64"
#elif defined(__i386__)
#define LX_JAVA_ARCH "i386"
#else
#define LX_JAVA_ARCH "unknown"
#endif

// The order is part of the store's keys: a new file goes at the end, or
// every stored answer is verified once more.
const RuntimeFile kRuntimeFiles[] = {
    {"lib/server/libjvm.so", false},
    {"lib/client/libjvm.so", false},
    {"lib/" LX_JAVA_ARCH "/server/libjvm.so", false},
    {"lib/" LX_JAVA_ARCH "/client/libjvm.so", false},
    {"jre/lib/" LX_JAVA_ARCH "/server/libjvm.so", false},
    {"jre/lib/" LX_JAVA_ARCH "/client/libjvm.so", false},
    {"lib/jvm.cfg", false},
    {"lib/" LX_JAVA_ARCH "/jvm.cfg", false},
    {"jre/lib/" LX_JAVA_ARCH "/jvm.cfg", false},
    {"lib/libjli.so", false},
    {"lib/" LX_JAVA_ARCH "/jli/libjli.so", false},
    {"lib/modules", true},
    {"lib/rt.jar", true},
    {"jre/lib/rt.jar", true},
    {"release", false},
};
const int kRuntimeFileCount = static_cast<int>(sizeof kRuntimeFiles / sizeof kRuntimeFiles[0]);

bool runtimeHome(const SString& executable, SString& home) {
  char* resolved = realpath(executable.c_str(), nullptr);
  if (resolved == nullptr) return false;
  home = resolved;
  std::free(resolved);
  for (int up = 0; up < 2; ++up) {
    SString::size_type slash = home.rfind('/');
    home = slash == SString::npos || slash == 0 ? SString() : home.substr(0, slash);
  }
  return true;
}
