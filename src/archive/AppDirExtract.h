// Unpacks a program's folder carried as one entry (AppDirFormat.h) into a
// directory of that entry's name.
#pragma once

#include "archive/FileIndexEntry.h"
#include "base/SString.h"

// Creates directory/name (mode 0700) and unpacks the entry into it as its
// bytes are read and checked against their checksum; returns its path.
// Throws DamagedLauncherException when they do not match, LauncherException
// when the directory exists already, when the container is malformed or
// hostile, or when writing fails; the directory is then removed with
// whatever was unpacked.
SString unpackAppDirectory(const SString& launcherPath, FileIndexEntry* entry, const SString& directory);
