// The archive is appended to the executable, so it is found from the end of
// the file: the start belongs to the program image.
//
//   ... program | file data | [checksum block] | index: u32 count, entries
//   | kind u8 | index offset u32 | identification u32 (0xCA82CA82)
//
// The launcher and the packer read it through these functions only; the
// checksum block, which lxpack writes and older writers do not, has its
// own reader (ChecksumBlock.h).
#pragma once

#include <cstdint>
#include <cstdio>

#include "archive/FileIndexEntry.h"

const uint32_t kLauncherIdentification = 0xCA82CA82u;
// Launcher kind byte, index offset and identification value.
const int kTrailerSize = 9;

struct ArchiveTrailer {
  uint32_t indexOffset;
  uint32_t identification;
  // Without the identification value the file is a bare program, not a
  // damaged launcher.
  bool hasArchive() const { return identification == kLauncherIdentification; }
};

// Reads the last eight bytes of the stream.
ArchiveTrailer readTrailer(FILE* stream);

// Appends the entries of the index at indexOffset to index. When an entry
// cannot be read, the ones before it stay in index and the exception goes on.
void readIndex(FILE* stream, uint32_t indexOffset, FileIndexEntryPtrDeque& index);
