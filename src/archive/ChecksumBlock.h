// The checksums that lxpack records for a launcher, in a block of their own
// that ends exactly where the file index begins:
//
//   ... file data | algorithm u32 (1: CRC-32C) | count u32
//   | count x entry checksum u32 (in index order) | index checksum u32
//   | block checksum u32 | block length u32 | identification u32
//   | file index | trailer
//
// Readers that follow the layout rely only on the trailer and on each
// entry's offset and length, so they never see the block; a launcher
// without it (another writer, an older lxpack) is read as before. The
// index checksum covers the bytes from the index offset up to the index
// offset field of the trailer (the index and the kind byte); the block
// checksum covers the block's fields before it. All integers big-endian.
#pragma once

#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

#include "archive/FileIndexEntry.h"

const uint32_t kChecksumBlockIdentification = 0x4C584353u;  // "LXCS"
const uint32_t kChecksumAlgorithmCrc32c = 1;

// The block for these entry checksums and the index bytes that will follow
// it (from the entry count up to and including the kind byte).
std::string makeChecksumBlock(const std::vector<uint32_t>& entryChecksums, const std::string& indexBytes);

struct ChecksumBlock {
  bool present = false;
  uint32_t indexChecksum = 0;
  std::vector<uint32_t> entryChecksums;
};

// The block that ends at indexOffset, when there is one. Throws
// DamagedLauncherException when its identification is there but the rest
// is not what lxpack writes.
ChecksumBlock readChecksumBlock(FILE* stream, uint32_t indexOffset);

// Compares the index bytes of the file with the block's index checksum;
// throws DamagedLauncherException when they differ.
void verifyIndexChecksum(FILE* stream, uint32_t indexOffset, uint64_t fileSize, const ChecksumBlock& block);

// Gives every entry its checksum; throws DamagedLauncherException when the
// block describes another number of entries than the index holds.
void assignChecksums(const ChecksumBlock& block, FileIndexEntryPtrDeque& index);

// Reads the entry's bytes from the launcher file and compares them with its
// checksum (nothing to do for an entry without one). Throws
// DamagedLauncherException naming the entry when they differ or the file
// ends before them.
void verifyEntry(int launcher, const FileIndexEntry& entry);

// The CRC-32C of length bytes from offset; false when the file ends first.
bool checksumOfRange(int launcher, uint64_t offset, uint64_t length, uint32_t& checksum);
