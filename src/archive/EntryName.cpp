#include "archive/EntryName.h"

#include "base/LauncherException.h"

bool isPlainFileName(const SString& name) {
  return !name.empty() && name != "." && name != ".." && name.find('/') == SString::npos;
}

void checkEntryName(const FileIndexEntry* entry) {
  if (isPlainFileName(entry->getName())) return;
  throw LauncherException(
      "Invalid file name \"" + entry->getName() + "\" of file id " + fromLong(entry->getId()) +
      " in the file index: an embedded file name must not be empty, \".\" or \"..\" or contain \"/\".");
}
