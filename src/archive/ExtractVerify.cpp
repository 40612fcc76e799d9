#include "archive/ExtractVerify.h"

#include "archive/FileIndexEntry.h"

namespace {

// From this size on, a checked entry is copied by the kernel while a second
// process checks it; smaller ones pass through the copy's buffer, where the
// check costs less than starting a process.
const off_t kBackgroundCheckSize = 1024 * 1024;

}  // namespace

EntryCheck::EntryCheck(const FileIndexEntry& entry, int launcher, const EntryBytes& bytes)
    : wanted_(entry.hasChecksum()), expected_(entry.getChecksum()) {
  inBackground_ = wanted_ && bytes.dataEnd - bytes.offset >= kBackgroundCheckSize &&
                  background_.start(launcher, bytes.offset, bytes.end);
  inCopy_ = wanted_ && !inBackground_;
}

bool EntryCheck::passed(bool complete) {
  uint32_t value = checksum_.value();
  // A launcher that ends inside the entry lacks some of its bytes, which
  // the checksum tells as well.
  if (inBackground_ && !background_.finish(value)) complete = false;
  return !wanted_ || (complete && value == expected_);
}
