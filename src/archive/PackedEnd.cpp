#include "archive/PackedEnd.h"

#include <sys/types.h>

#include <vector>

#include "archive/ArchiveIndex.h"
#include "base/LauncherException.h"

namespace {

uint32_t bigEndian(const unsigned char* bytes) {
  return uint32_t(bytes[0]) << 24 | uint32_t(bytes[1]) << 16 | uint32_t(bytes[2]) << 8 | uint32_t(bytes[3]);
}

// A trailer whose identification value starts at idPos is the packer's when
// the index it points to reads and ends right at the trailer's kind byte.
bool isTrailerAt(FILE* stream, uint64_t programEnd, uint64_t idPos, uint32_t indexOffset) {
  const uint64_t trailerStart = idPos - 5;
  if (indexOffset < programEnd || indexOffset >= trailerStart) return false;
  FileIndexEntryPtrDeque index;
  try {
    readIndex(stream, indexOffset, index);
  } catch (const LauncherException&) {
    return false;
  }
  return ftello(stream) == static_cast<off_t>(trailerStart);
}

}  // namespace

int64_t packedEndBeforeFileEnd(FILE* stream, uint64_t programEnd, uint64_t fileSize) {
  // The smallest archive: an empty index (its count) and the trailer.
  const uint64_t kSmallestArchive = 4 + kTrailerSize;
  if (fileSize <= programEnd + kSmallestArchive) return -1;
  const uint64_t searchStart = fileSize - programEnd > kMostAppendedBytes ? fileSize - kMostAppendedBytes : programEnd;
  // From the end backwards, in blocks that overlap by seven bytes, so that
  // the eight bytes of index offset and identification value are seen
  // whole wherever they lie. A trailer right at the end is no trailer with
  // bytes after it: the last byte is left out.
  const uint64_t kBlock = 1024 * 1024;
  std::vector<unsigned char> block(kBlock);
  uint64_t end = fileSize - 1;
  for (;;) {
    const uint64_t start = end - searchStart > kBlock ? end - kBlock : searchStart;
    const size_t length = static_cast<size_t>(end - start);
    if (fseeko(stream, static_cast<off_t>(start), SEEK_SET) != 0 || fread(block.data(), 1, length, stream) != length) {
      return -1;
    }
    for (int64_t i = static_cast<int64_t>(length) - 8; i >= 0; --i) {
      if (bigEndian(&block[static_cast<size_t>(i) + 4]) != kLauncherIdentification) continue;
      const uint64_t idPos = start + static_cast<uint64_t>(i) + 4;
      if (idPos < programEnd + kSmallestArchive - 4) continue;
      if (isTrailerAt(stream, programEnd, idPos, bigEndian(&block[static_cast<size_t>(i)]))) {
        return static_cast<int64_t>(idPos + 4);
      }
    }
    if (start == searchStart) return -1;
    end = start + 7;
  }
}
