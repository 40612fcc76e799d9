#include "archive/ProgramImage.h"

#include <sys/types.h>

#include <algorithm>
#include <cstring>
#include <vector>

namespace {

const unsigned char kElfMagic[] = {0x7F, 'E', 'L', 'F'};
const int kElfClass64 = 2;
const int kElfLittleEndian = 1;
const uint32_t kSectionWithoutBytes = 8;  // SHT_NOBITS: .bss takes no room

uint64_t littleEndian(const unsigned char* bytes, int count) {
  uint64_t value = 0;
  for (int i = count - 1; i >= 0; --i) value = (value << 8) | bytes[i];
  return value;
}

bool readAt(FILE* stream, uint64_t offset, unsigned char* bytes, size_t count) {
  return fseeko(stream, static_cast<off_t>(offset), SEEK_SET) == 0 && std::fread(bytes, 1, count, stream) == count;
}

// Widens end to the table of count entries of entrySize bytes at
// tableOffset and to the bytes its entries describe: each has its file
// offset at offsetField and its length at sizeField (8 bytes each). Entries
// of sections without bytes in the file are left out. A table the stream
// does not hold whole counts with its own extent only: the file is then
// shorter than the image anyway.
void widenToTable(FILE* stream, uint64_t tableOffset, uint64_t entrySize, uint64_t count, int offsetField,
                  int sizeField, bool sections, uint64_t& end) {
  if (count == 0) return;
  end = std::max(end, tableOffset + entrySize * count);
  if (entrySize < static_cast<uint64_t>(sizeField + 8) || entrySize > 256) return;
  std::vector<unsigned char> table(entrySize * count);
  if (!readAt(stream, tableOffset, table.data(), table.size())) return;
  for (uint64_t i = 0; i < count; ++i) {
    const unsigned char* entry = &table[i * entrySize];
    if (sections && littleEndian(entry + 4, 4) == kSectionWithoutBytes) continue;
    end = std::max(end, littleEndian(entry + offsetField, 8) + littleEndian(entry + sizeField, 8));
  }
}

}  // namespace

int64_t programImageLength(FILE* stream) {
  unsigned char header[64];
  if (!readAt(stream, 0, header, sizeof header)) return -1;
  if (std::memcmp(header, kElfMagic, sizeof kElfMagic) != 0 || header[4] != kElfClass64 ||
      header[5] != kElfLittleEndian) {
    return -1;
  }
  const uint64_t programHeaders = littleEndian(header + 32, 8);
  const uint64_t sectionHeaders = littleEndian(header + 40, 8);
  const uint64_t programHeaderSize = littleEndian(header + 54, 2);
  const uint64_t programHeaderCount = littleEndian(header + 56, 2);
  const uint64_t sectionHeaderSize = littleEndian(header + 58, 2);
  const uint64_t sectionHeaderCount = littleEndian(header + 60, 2);
  uint64_t end = sizeof header;
  // Program headers: p_offset at 8, p_filesz at 32. Section headers:
  // sh_offset at 24, sh_size at 32.
  widenToTable(stream, programHeaders, programHeaderSize, programHeaderCount, 8, 32, false, end);
  widenToTable(stream, sectionHeaders, sectionHeaderSize, sectionHeaderCount, 24, 32, true, end);
  return static_cast<int64_t>(end);
}
