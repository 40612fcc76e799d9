#include "archive/EntryInflate.h"

#include <unistd.h>

#include <cerrno>

#include "archive/Crc32c.h"
#include "archive/DamagedLauncher.h"
#include "archive/Extract.h"
#include "archive/WriteError.h"
#include "base/Termination.h"
#include "messages/Messages.h"

namespace {

// The stored bytes are read in pieces of this size: few system calls, and
// the piece stays in the processor's cache while the checksum and the
// decoder go over it.
const size_t kPieceSize = 64 * 1024;

// The stored bytes as the decoder asks for them. Each piece is a check
// point for a signal to end, and the progress dots advance by the stored
// bytes read, one step per extraction chunk as for an entry copied as it
// stands.
class StoredBytes : public InflateSource {
 public:
  StoredBytes(int launcher, const FileIndexEntry& entry)
      : launcher_(launcher), position_(entry.getOffset()), end_(position_ + entry.getLength()) {}

  size_t read(const unsigned char*& bytes) override {
    CheckTermination();
    bytes = buffer_;
    const size_t want = end_ - position_ < kPieceSize ? static_cast<size_t>(end_ - position_) : kPieceSize;
    if (want == 0) return 0;
    ssize_t got;
    do {
      got = ::pread(launcher_, buffer_, want, static_cast<off_t>(position_));
    } while (got < 0 && errno == EINTR);
    // A file that ends inside the entry, or cannot be read, ends the stream
    // there: the decoder finds it cut short, the checksum incomplete.
    if (got <= 0) {
      complete_ = false;
      end_ = position_;
      return 0;
    }
    checksum_.update(buffer_, static_cast<size_t>(got));
    position_ += static_cast<uint64_t>(got);
    for (unticked_ += static_cast<size_t>(got); unticked_ >= static_cast<size_t>(kExtractChunkSize);
         unticked_ -= kExtractChunkSize) {
      ProgressTick(1);
    }
    return static_cast<size_t>(got);
  }

  // Reads whatever the decoder left and tells whether the stored bytes were
  // all there and match expected. A signal to end that stopped the decoder
  // stops this read as well, so the request goes on rather than the
  // failure it caused.
  bool match(uint32_t expected) {
    const unsigned char* rest;
    while (read(rest) > 0) {
    }
    return complete_ && checksum_.value() == expected;
  }

 private:
  int launcher_;
  uint64_t position_;
  uint64_t end_;
  unsigned char buffer_[kPieceSize];
  Crc32c checksum_;
  size_t unticked_ = 0;
  bool complete_ = true;
};

// One unpacked file: no more bytes than the index announces (the free space
// was checked for that many), and their checksum on the way.
class FileSink : public InflateSink {
 public:
  FileSink(const FileIndexEntry& entry, int output, const SString& path)
      : entry_(entry), output_(output), path_(path), left_(entry.getDecompressedSize()) {}

  void write(const unsigned char* bytes, size_t count) override {
    if (count > left_) throw damagedEntry(entry_.getName());
    left_ -= static_cast<uint32_t>(count);
    checksum_.update(bytes, count);
    for (size_t written = 0; written < count;) {
      ssize_t n = ::write(output_, bytes + written, count - written);
      if (n < 0 && errno == EINTR) continue;
      if (n <= 0) throw writeFailure(path_, n == 0 ? ENOSPC : errno);
      written += static_cast<size_t>(n);
    }
  }
  bool complete() const { return left_ == 0 && checksum_.value() == entry_.getUnpackedChecksum(); }

 private:
  const FileIndexEntry& entry_;
  int output_;
  const SString& path_;
  uint32_t left_;
  Crc32c checksum_;
};

}  // namespace

void inflateEntry(int launcher, const FileIndexEntry& entry, InflateSink& sink) {
  StoredBytes stored(launcher, entry);
  try {
    inflateRaw(stored, sink);
  } catch (...) {
    if (entry.hasChecksum() && !stored.match(entry.getChecksum())) throw damagedEntry(entry.getName());
    throw;
  }
  if (entry.hasChecksum() && !stored.match(entry.getChecksum())) throw damagedEntry(entry.getName());
}

void inflateEntryToFile(int launcher, const FileIndexEntry& entry, int output, const SString& path) {
  FileSink file(entry, output, path);
  inflateEntry(launcher, entry, file);
  if (!file.complete()) throw damagedEntry(entry.getName());
}
