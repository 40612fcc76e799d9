// Damage that no checksum can see: the trailer's index offset, or a
// checksum block whose identification was erased (the launcher would then
// read an archive with checksums as one without). A writer lays the file
// out without gaps: program, embedded files, [checksum block], file index,
// trailer. So the index ends where the trailer begins, and without a
// checksum block the last embedded file (or, with none, the program) ends
// where the index begins; anything else is a damaged file. Only an ELF
// program tells where it ends: other files are not checked for the gap.
#pragma once

#include <cstdint>
#include <cstdio>

#include "archive/ChecksumBlock.h"
#include "archive/FileIndexEntry.h"

struct LayoutFault {
  enum Kind { NONE, INDEX_RUNS_INTO_TRAILER, BYTES_AFTER_INDEX, BYTES_BEFORE_INDEX } kind = NONE;
  uint64_t bytes = 0;  // the stray bytes, for the last two kinds
};

// indexEnd is where reading the index stopped.
LayoutFault findLayoutFault(FILE* stream, uint64_t fileSize, uint32_t indexOffset, uint64_t indexEnd,
                            const ChecksumBlock& block, const FileIndexEntryPtrDeque& index);
