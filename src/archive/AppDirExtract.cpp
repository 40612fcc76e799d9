#include "archive/AppDirExtract.h"

#include <fcntl.h>
#include <sys/stat.h>

#include <cerrno>

#include "archive/AppDirReader.h"
#include "archive/EntryInflate.h"
#include "archive/WriteError.h"
#include "base/LauncherException.h"
#include "base/OpenFiles.h"
#include "fsutil/TempFiles.h"

SString unpackAppDirectory(const SString& launcherPath, FileIndexEntry* entry, const SString& directory) {
  SString path = directory.empty() || directory[directory.length() - 1] == '/' ? directory + entry->getName()
                                                                               : directory + "/" + entry->getName();
  FileDescriptor launcher(::open(launcherPath.c_str(), O_RDONLY | O_CLOEXEC));
  if (!launcher.isOpen()) throw LauncherException("Cannot open launcher file.");
  if (::mkdir(path.c_str(), 0700) != 0 || ::chmod(path.c_str(), 0700) != 0) throw writeFailure(path, errno);
  try {
    AppDirReader reader(path, entry->getDecompressedFileCount(), entry->getDecompressedSize());
    inflateEntry(launcher.get(), *entry, reader);
    reader.finish();
  } catch (...) {
    RemovePath(path);
    throw;
  }
  return path;
}
