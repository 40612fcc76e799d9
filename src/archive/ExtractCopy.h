// Copying an entry's bytes out of the launcher file, with the progress
// display moving as they go.
#pragma once

#include <sys/types.h>

#include "archive/ExtractOpen.h"

class Crc32c;

// How a copy ended.
struct CopyEnd {
  int error = 0;               // errno of a failed read or write; 0 when none failed
  bool launcherEnded = false;  // the launcher file ended inside the entry
  bool stopped = false;        // a signal asked the launcher to end
};

// Copies the entry's bytes to output, one progress step per
// kExtractChunkSize bytes of the entry. With a checksum every byte passes
// through the copy's buffer and into it; without, the kernel copies where
// it can. Stops at the first failure, and before the next step once a
// signal asks the launcher to end.
CopyEnd copyWithProgress(int launcher, int output, const EntryBytes& bytes, Crc32c* checksum);
