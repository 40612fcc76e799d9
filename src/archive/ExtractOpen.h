// Opening both files of an extraction: the launcher file the entry's bytes
// come from, and the new file they go to.
#pragma once

#include <sys/types.h>

#include "base/OpenFiles.h"
#include "base/SString.h"

struct ExtractFiles {
  FileDescriptor launcher;
  FileDescriptor output;
};

// Opens the launcher file for reading and creates path anew with exactly
// mode. Throws LauncherException when the launcher file cannot be opened or
// path is the launcher file itself, and WriteFailure when path cannot be
// created.
ExtractFiles openForExtraction(const SString& launcherPath, const SString& path, mode_t mode);
