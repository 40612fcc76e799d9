#include "archive/Extract.h"

#include <unistd.h>

#include <cerrno>

#include "archive/AppDirExtract.h"
#include "archive/DamagedLauncher.h"
#include "archive/EntryInflate.h"
#include "archive/EntryName.h"
#include "archive/ExtractCopy.h"
#include "archive/ExtractOpen.h"
#include "archive/ExtractVerify.h"
#include "archive/WriteError.h"
#include "base/Termination.h"
#include "fsutil/Platform.h"
#include "messages/Messages.h"

namespace {

SString outputPathFor(const SString& directory, const SString& name) {
  if (directory.empty() || directory[directory.length() - 1] == '/') return directory + name;
  return directory + "/" + name;
}

}  // namespace

SString extractFile(const SString& launcherPath, FileIndexEntry* entry, const SString& directory) {
  checkEntryName(entry);
  // A program's folder and a deflated file are unpacked, so only what they
  // unpack to takes up room; any other entry is written as it stands, and a
  // compressed one may be unpacked beside it by the program it serves. (The
  // unpacked sizes are 0 for an entry that announces none.)
  const bool folder = entry->getType() == FT_APP_DIR;
  const double bytes = (folder || entry->isDeflated() ? 0.0 : entry->getLength()) + entry->getDecompressedSize();
  const long files = 1 + static_cast<long>(entry->getDecompressedFileCount());
  SString path = outputPathFor(directory, entry->getName());
  if (!HasEnoughDiskSpace(directory, bytes, files)) {
    throw WriteFailure(GetMessage(ERR_WRITING_FILE) + GetMessage(ERR_DISK_SPACE_HINT), path, ENOSPC);
  }
  if (folder) return unpackAppDirectory(launcherPath, entry, directory);

  // Programs the launcher starts (an installer, an embedded launcher) are
  // its owner's to run; everything else its owner's to read.
  const bool program = entry->getType() == FT_JVM_INSTALLER || entry->getType() == FT_LAUNCHER;
  ExtractFiles opened = openForExtraction(launcherPath, *entry, path, program ? 0700 : 0600);
  if (entry->isDeflated()) {
    try {
      inflateEntryToFile(opened.launcher.get(), *entry, opened.output.get(), path);
      if (opened.output.close() != 0) throw writeFailure(path, errno);
    } catch (...) {
      ::unlink(path.c_str());
      throw;
    }
    return path;
  }
  // From here on the file is ours: whatever ends the copy early removes it,
  // so that no one takes a part for the whole.
  EntryCheck check(*entry, opened.launcher.get(), opened.bytes);
  CopyEnd copied = copyWithProgress(opened.launcher.get(), opened.output.get(), opened.bytes, check.forCopy());
  int error = copied.error;
  if (opened.output.close() != 0 && error == 0) error = errno;
  if (copied.stopped) {
    ::unlink(path.c_str());
    CheckTermination();
  }
  const bool intact = check.passed(!copied.launcherEnded);
  if (error != 0) {
    ::unlink(path.c_str());
    throw writeFailure(path, error);
  }
  if (!intact) {
    ::unlink(path.c_str());
    throw damagedEntry(entry->getName());
  }
  return path;
}
