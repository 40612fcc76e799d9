#include "jvm/WindowingLibrary.h"

#include <dirent.h>
#include <sys/stat.h>

#include <cstdlib>
#include <memory>

namespace {

const char kLibraryName[] = "libawt_xawt.so";

bool IsFile(const SString& path) {
  struct stat status;
  return stat(path.c_str(), &status) == 0 && S_ISREG(status.st_mode);
}

// lib/ itself, or one directory below it: Java 8 put its libraries in a
// directory named after the machine (amd64, i386, aarch64, ppc64le, ...),
// so every directory there is looked into rather than a list of names.
bool LibraryDirectoryHasIt(const SString& libDir) {
  if (IsFile(libDir + "/" + kLibraryName)) return true;
  std::unique_ptr<DIR, int (*)(DIR*)> dir(opendir(libDir.c_str()), closedir);
  if (!dir) return false;
  while (const struct dirent* entry = readdir(dir.get())) {
    SString name(entry->d_name);
    if (name == "." || name == "..") continue;
    if (IsFile(libDir + "/" + name + "/" + kLibraryName)) return true;
  }
  return false;
}

bool IsSet(const char* name) {
  const char* value = std::getenv(name);
  return value != nullptr && *value != '\0';
}

}  // namespace

bool HomeCanOpenWindows(const SString& javaHome) {
  if (javaHome.empty()) return false;
  return LibraryDirectoryHasIt(javaHome + "/lib") || LibraryDirectoryHasIt(javaHome + "/jre/lib");
}

bool DisplayAvailable() { return IsSet("DISPLAY") || IsSet("WAYLAND_DISPLAY"); }
