#include "archive/ArchiveIndex.h"

#include <sys/types.h>

#include <memory>

#include "base/LauncherException.h"

ArchiveTrailer readTrailer(FILE* stream) {
  if (fseeko(stream, -8, SEEK_END) != 0) throw LauncherException("Invalid launcher format.");
  ArchiveTrailer trailer;
  trailer.indexOffset = readU32(stream, "Unable to read file index offset.");
  trailer.identification = readU32(stream, "Unable to read launcher identification value.");
  return trailer;
}

void readIndex(FILE* stream, uint32_t indexOffset, FileIndexEntryPtrDeque& index) {
  if (fseeko(stream, static_cast<off_t>(indexOffset), SEEK_SET) != 0) {
    throw LauncherException("Invalid file index offset.");
  }
  // The count is signed: 0x80000000 and above describe no entry at all.
  int32_t count = static_cast<int32_t>(readU32(stream, "Unable to read the file count."));
  for (int32_t i = 0; i < count; ++i) {
    std::unique_ptr<FileIndexEntry> entry(new FileIndexEntry);
    entry->read(stream);
    index.add(entry.release());
  }
}
