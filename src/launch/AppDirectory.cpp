#include "launch/AppDirectory.h"

#include "fsutil/TempFiles.h"

SString getAppDirectory(LauncherFile& archive) {
  static SString path;
  if (!path.empty()) return path;
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
