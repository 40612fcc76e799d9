// Opening both files of an extraction: the launcher file the entry's bytes
// come from, and the new file they go to.
#pragma once

#include <sys/types.h>

#include "base/OpenFiles.h"
#include "base/SString.h"

class FileIndexEntry;

// Where an entry's bytes lie in the launcher file.
struct EntryBytes {
  off_t offset = 0;   // the first byte
  off_t end = 0;      // past the last, as the index says
  off_t dataEnd = 0;  // past the last the launcher file holds: an index may claim more
};

struct ExtractFiles {
  FileDescriptor launcher;
  FileDescriptor output;
  EntryBytes bytes;
};

// Opens the launcher file for reading and creates path anew with exactly
// mode, with room reserved for the entry's bytes. Throws LauncherException
// when the launcher file cannot be opened or path is the launcher file
// itself, and WriteFailure when path cannot be created.
ExtractFiles openForExtraction(const SString& launcherPath, const FileIndexEntry& entry, const SString& path,
                               mode_t mode);
