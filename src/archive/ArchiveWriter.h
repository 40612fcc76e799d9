// Makes launchers: the program image, then every embedded file whole, in
// index order and without gaps, then the checksum block, the file index
// and the trailer. The
// packer and the tests build their launchers with it; the launcher itself
// only reads.
#pragma once

#include <cstdint>
#include <cstdio>
#include <vector>

#include "archive/FileIndexEntry.h"
#include "base/SString.h"

// One file to embed and how the index describes it.
struct ArchiveMember {
  int type = FT_APPLICATION;
  uint32_t id = 0;
  SString name;        // plain file name the launcher extracts it under
  SString sourcePath;  // where its bytes come from
  bool compressed = false;
  uint32_t decompressedFileCount = 0;
  uint32_t decompressedSize = 0;
  // The source holds one file as a raw deflate stream, of decompressedSize
  // bytes whose CRC-32C is unpackedChecksum when inflated; the launcher
  // inflates it while extracting it. Not for tag files, which the launcher
  // reads in place, nor for a program's folder, compressed in its own way.
  bool deflated = false;
  uint32_t unpackedChecksum = 0;
};

// The longest name extraction can create (NAME_MAX); the index could
// announce up to 32767 bytes.
const int kMaxEntryNameLength = 255;

// Why the launcher could not use this name, or empty when it can.
SString entryNameProblem(const SString& name);

// Writes a whole launcher to out, which must be empty and open for binary
// writing. Throws LauncherException naming the file that could not be read
// or written, a name the launcher would refuse, or an archive too large for
// its 32-bit offsets. Without checksums it writes what older packers wrote.
void writeLauncher(FILE* out, const SString& programPath, const std::vector<ArchiveMember>& members, int launcherKind,
                   bool withChecksums = true);
