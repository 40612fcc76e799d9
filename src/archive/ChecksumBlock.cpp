#include "archive/ChecksumBlock.h"

#include <sys/types.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <vector>

#include "archive/Crc32c.h"
#include "archive/DamagedLauncher.h"

namespace {

// Algorithm, count, index checksum, block checksum, length, identification.
const uint32_t kFixedFields = 6;

void appendU32(std::string& bytes, uint32_t value) {
  for (int shift = 24; shift >= 0; shift -= 8) bytes.push_back(static_cast<char>((value >> shift) & 0xFF));
}

uint32_t u32At(const unsigned char* bytes) {
  return (uint32_t(bytes[0]) << 24) | (uint32_t(bytes[1]) << 16) | (uint32_t(bytes[2]) << 8) | bytes[3];
}

bool readAt(FILE* stream, uint64_t offset, unsigned char* bytes, size_t count) {
  return fseeko(stream, static_cast<off_t>(offset), SEEK_SET) == 0 && std::fread(bytes, 1, count, stream) == count;
}

}  // namespace

std::string makeChecksumBlock(const std::vector<uint32_t>& entryChecksums, const std::string& indexBytes) {
  std::string block;
  appendU32(block, kChecksumAlgorithmCrc32c);
  appendU32(block, static_cast<uint32_t>(entryChecksums.size()));
  for (uint32_t checksum : entryChecksums) appendU32(block, checksum);
  appendU32(block, crc32c(indexBytes.data(), indexBytes.size()));
  appendU32(block, crc32c(block.data(), block.size()));
  appendU32(block, static_cast<uint32_t>(block.size() + 8));
  appendU32(block, kChecksumBlockIdentification);
  return block;
}

ChecksumBlock readChecksumBlock(FILE* stream, uint32_t indexOffset) {
  ChecksumBlock block;
  unsigned char tail[8];
  if (indexOffset < sizeof tail || !readAt(stream, indexOffset - sizeof tail, tail, sizeof tail)) return block;
  if (u32At(tail + 4) != kChecksumBlockIdentification) return block;
  // From here on the block is announced: whatever does not fit is damage.
  const uint32_t length = u32At(tail);
  if (length < kFixedFields * 4 || length % 4 != 0 || length > indexOffset) throw damagedIndex();
  std::vector<unsigned char> bytes(length);
  if (!readAt(stream, indexOffset - length, bytes.data(), length)) throw damagedIndex();
  const uint32_t count = u32At(&bytes[4]);
  if (u32At(&bytes[0]) != kChecksumAlgorithmCrc32c || count != length / 4 - kFixedFields) throw damagedIndex();
  const size_t checked = length - 12;
  if (crc32c(bytes.data(), checked) != u32At(&bytes[checked])) throw damagedIndex();
  for (uint32_t i = 0; i < count; ++i) block.entryChecksums.push_back(u32At(&bytes[8 + 4 * i]));
  block.indexChecksum = u32At(&bytes[8 + 4 * count]);
  block.present = true;
  return block;
}

void verifyIndexChecksum(FILE* stream, uint32_t indexOffset, uint64_t fileSize, const ChecksumBlock& block) {
  if (!block.present) return;
  // The index offset and the identification value end the file.
  if (fileSize < uint64_t(indexOffset) + 8) throw damagedIndex();
  uint32_t checksum;
  if (!checksumOfRange(fileno(stream), indexOffset, fileSize - 8 - indexOffset, checksum) ||
      checksum != block.indexChecksum) {
    throw damagedIndex();
  }
}

void assignChecksums(const ChecksumBlock& block, FileIndexEntryPtrDeque& index) {
  if (!block.present) return;
  if (block.entryChecksums.size() != static_cast<size_t>(index.count())) throw damagedIndex();
  for (int i = 0; i < index.count(); ++i) index.get(i)->setChecksum(block.entryChecksums[i]);
}

bool checksumOfRange(int launcher, uint64_t offset, uint64_t length, uint32_t& checksum) {
  std::vector<char> buffer(static_cast<size_t>(std::min<uint64_t>(length, 1 << 20)));
  Crc32c crc;
  while (length > 0) {
    const size_t want = static_cast<size_t>(std::min<uint64_t>(length, buffer.size()));
    ssize_t got = ::pread(launcher, buffer.data(), want, static_cast<off_t>(offset));
    if (got < 0 && errno == EINTR) continue;
    if (got <= 0) return false;
    crc.update(buffer.data(), static_cast<size_t>(got));
    offset += static_cast<uint64_t>(got);
    length -= static_cast<uint64_t>(got);
  }
  checksum = crc.value();
  return true;
}

void verifyEntry(int launcher, const FileIndexEntry& entry) {
  if (!entry.hasChecksum()) return;
  uint32_t checksum;
  if (!checksumOfRange(launcher, entry.getOffset(), entry.getLength(), checksum) || checksum != entry.getChecksum()) {
    throw damagedEntry(entry.getName());
  }
}
