// Checking an extracted entry's bytes against the checksum the index holds
// for them, in the same pass as the copy.
#pragma once

#include <cstdint>

#include "archive/BackgroundChecksum.h"
#include "archive/Crc32c.h"
#include "archive/ExtractCopy.h"

class FileIndexEntry;

class EntryCheck {
 public:
  // Starts the check of the entry's bytes in the launcher file, when it has
  // a checksum: a large entry is checked by a process of its own while the
  // kernel copies it, a small one in the copy's buffer.
  EntryCheck(const FileIndexEntry& entry, int launcher, const EntryBytes& bytes);
  EntryCheck(const EntryCheck&) = delete;
  EntryCheck& operator=(const EntryCheck&) = delete;

  // The checksum the copy is to pass the bytes through; null when the copy
  // need not see them, so that the kernel may copy.
  Crc32c* forCopy() { return inCopy_ ? &checksum_ : nullptr; }
  // Waits for the check and tells whether the bytes were all there and
  // matched; always true for an entry without a checksum. complete: the
  // copy found every byte.
  bool passed(bool complete);

 private:
  const bool wanted_;
  const uint32_t expected_;
  Crc32c checksum_;
  BackgroundChecksum background_;
  bool inBackground_ = false;
  bool inCopy_ = false;
};
