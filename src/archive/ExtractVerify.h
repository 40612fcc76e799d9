// Checking an extracted entry's bytes against the checksum the index holds
// for them, in the same pass as the copy.
#pragma once

#include <cstdint>

#include "archive/BackgroundChecksum.h"
#include "archive/Crc32c.h"
#include "archive/ExtractOpen.h"
#include "archive/FileIndexEntry.h"

class EntryCheck {
 public:
  // Starts the check of the entry's bytes in the launcher file, when it has
  // a checksum: a large entry is checked by a process of its own while the
  // kernel copies it, a small one in the copy's buffer, where the check
  // costs less than starting a process.
  EntryCheck(const FileIndexEntry& entry, int launcher, const EntryBytes& bytes)
      : wanted_(entry.hasChecksum()), expected_(entry.getChecksum()) {
    inBackground_ = wanted_ && bytes.dataEnd - bytes.offset >= kBackgroundCheckSize &&
                    background_.start(launcher, bytes.offset, bytes.end);
    inCopy_ = wanted_ && !inBackground_;
  }
  EntryCheck(const EntryCheck&) = delete;
  EntryCheck& operator=(const EntryCheck&) = delete;

  // The checksum the copy is to pass the bytes through; null when the copy
  // need not see them, so that the kernel may copy.
  Crc32c* forCopy() { return inCopy_ ? &checksum_ : nullptr; }
  // Waits for the check and tells whether the bytes were all there and
  // matched; always true for an entry without a checksum. complete: the
  // copy found every byte (a launcher that ends inside the entry lacks some,
  // which the checksum tells as well).
  bool passed(bool complete) {
    uint32_t value = checksum_.value();
    if (inBackground_ && !background_.finish(value)) complete = false;
    return !wanted_ || (complete && value == expected_);
  }

 private:
  // The size from which an entry is checked in the background.
  static constexpr off_t kBackgroundCheckSize = 1024 * 1024;

  const bool wanted_;
  const uint32_t expected_;
  Crc32c checksum_;
  BackgroundChecksum background_;
  bool inBackground_ = false;
  bool inCopy_ = false;
};
