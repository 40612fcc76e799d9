// An entry's name becomes a file name inside the directory it is extracted
// to. Only a plain name keeps the file there: a "/" or a name of "." or ".."
// would let an archive write anywhere the user may write.
#pragma once

#include "archive/FileIndexEntry.h"
#include "base/SString.h"

bool isPlainFileName(const SString& name);

// Throws LauncherException naming the entry when its name is not plain.
void checkEntryName(const FileIndexEntry* entry);
