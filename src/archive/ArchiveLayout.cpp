#include "archive/ArchiveLayout.h"

#include <algorithm>

#include "archive/ArchiveIndex.h"
#include "archive/ProgramImage.h"

LayoutFault findLayoutFault(FILE* stream, uint64_t fileSize, uint32_t indexOffset, uint64_t indexEnd,
                            const ChecksumBlock& block, const FileIndexEntryPtrDeque& index) {
  LayoutFault fault;
  const uint64_t trailerStart = fileSize < uint64_t(kTrailerSize) ? 0 : fileSize - kTrailerSize;
  if (indexEnd > trailerStart) {
    fault.kind = LayoutFault::INDEX_RUNS_INTO_TRAILER;
  } else if (indexEnd < trailerStart) {
    fault.kind = LayoutFault::BYTES_AFTER_INDEX;
    fault.bytes = trailerStart - indexEnd;
  } else if (!block.present) {
    // Entries that run into the index are another fault (lxpack check
    // tells it); only a gap before it is looked for here. A file that is no ELF program
    // cannot tell where its data begin and is read as before.
    int64_t dataEnd = programImageLength(stream);
    for (int i = 0; dataEnd >= 0 && i < index.count(); ++i) {
      const FileIndexEntry* entry = index.get(i);
      dataEnd = std::max<int64_t>(dataEnd, int64_t(entry->getOffset()) + entry->getLength());
    }
    if (dataEnd >= 0 && dataEnd < int64_t(indexOffset)) {
      fault.kind = LayoutFault::BYTES_BEFORE_INDEX;
      fault.bytes = indexOffset - uint64_t(dataEnd);
    }
  }
  return fault;
}
