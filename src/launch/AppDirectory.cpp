#include "launch/AppDirectory.h"

#include "archive/LauncherFile.h"
#include "fsutil/TempFiles.h"

SString getAppDirectory() {
  static SString path;
  if (!path.empty()) return path;
  LauncherFile& archive = launcherFile();
  SString directory;
  SString first;
  for (int i = 0; i < archive.getEntryCount(); ++i) {
    FileIndexEntry* entry = archive.getEntry(i);
    if (!entry || entry->getType() != FT_APP_DIR) continue;
    if (directory.empty()) directory = CreateTempDir();
    SString unpacked = archive.extract(entry, directory);
    if (first.empty()) first = unpacked;
  }
  path = first;
  return path;
}
