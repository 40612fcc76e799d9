#include "archive/LauncherKind.h"

#include <cstdio>

#include "archive/ArchiveIndex.h"

int getLauncherKind(const SString& path) {
  FILE* stream = std::fopen(path.c_str(), "rb");
  if (!stream) return -1;
  int kind = -1;
  if (std::fseek(stream, -kTrailerSize, SEEK_END) == 0) kind = std::fgetc(stream);
  std::fclose(stream);
  return kind == EOF ? -1 : kind;
}

int runningLauncherKind(const LauncherPaths& paths) {
  // The path the value was read for is remembered with it, so a changed
  // launcherPath never gets another file's answer.
  static SString cachedPath;
  static int cachedKind = -1;
  if (cachedKind != -1 && cachedPath == paths.launcherPath) return cachedKind;
  int kind = getLauncherKind(paths.fileToRead());
  cachedPath = paths.launcherPath;
  cachedKind = kind;
  return kind;
}
