#include "archive/LauncherKind.h"

#include <cstdio>

#include "archive/ArchiveIndex.h"
#include "base/Settings.h"

namespace {

int readLauncherKind(const SString& path) {
  FILE* stream = std::fopen(path.c_str(), "rb");
  if (!stream) return -1;
  int kind = -1;
  if (std::fseek(stream, -kTrailerSize, SEEK_END) == 0) kind = std::fgetc(stream);
  std::fclose(stream);
  return kind == EOF ? -1 : kind;
}

}  // namespace

int getLauncherKind(const SString& path) {
  // The path the value was read from is remembered with it, so a changed
  // launcherPath never gets another file's answer.
  static SString cachedPath;
  static int cachedKind = -1;
  const bool isLauncher = path == settings().launcherPath;
  if (isLauncher && cachedKind != -1 && cachedPath == path) return cachedKind;
  int kind = readLauncherKind(isLauncher ? launcherFileToRead() : path);
  if (isLauncher) {
    cachedPath = path;
    cachedKind = kind;
  }
  return kind;
}
