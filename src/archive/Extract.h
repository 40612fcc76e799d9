// Copies embedded files out of the running launcher: programs to run,
// archives to hand to a JVM, and everything for -lx:extract.
#pragma once

#include "archive/FileIndexEntry.h"
#include "base/SString.h"

// The copy moves this many bytes per step, and the progress dots advance
// once per step, so a large file shows visible progress.
const int kExtractChunkSize = 61439;

// Writes the entry's bytes from the launcher file to directory/name (an
// empty directory is the working directory) as a new file, whatever stood
// under that name before, and returns that path. A deflated entry is
// written inflated, a program's folder unpacked (AppDirExtract.h). An entry
// with a checksum is checked in the same pass. Installers and embedded
// launchers are made executable. Throws LauncherException when the name is
// not a plain file name, when the directory lacks the free space, or when
// writing fails (naming the file and the system's reason), and
// DamagedLauncherException when the bytes do not match their checksum (or,
// inflated, their unpacked size and checksum); a file cut short is removed.
SString extractFile(const SString& launcher, FileIndexEntry* entry, const SString& directory);
