#include "archive/ExtractCopy.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <vector>

#include "archive/Crc32c.h"
#include "archive/Extract.h"
#include "base/Termination.h"
#include "messages/Messages.h"

namespace {

// Moves the entry's bytes from the launcher file to the output. The kernel
// copies between the two files itself where it can, which spares two copies
// through user memory; where it cannot, and where the bytes must be seen to
// check them against their checksum, they go through a buffer.
class ChunkCopier {
 public:
  ChunkCopier(int in, int out, off_t from, Crc32c* checksum)
      : in_(in), out_(out), moved_(from), kernelCopy_(checksum == nullptr), checksum_(checksum) {}

  // Moves the bytes from where the last move stopped up to upTo. Returns
  // false with errno set when reading or writing failed. Stops early,
  // without an error, where the launcher file ends.
  bool moveTo(off_t upTo) {
    while (moved_ < upTo && !launcherEnded_) {
      size_t count = static_cast<size_t>(upTo - moved_);
      ssize_t n = kernelCopy_ ? copyInKernel(count) : copyThroughBuffer(count);
      if (n < 0) return false;
      if (n == 0) launcherEnded_ = true;
    }
    return true;
  }
  bool launcherEnded() const { return launcherEnded_; }
  // Where the bytes moved so far end in the launcher file.
  off_t position() const { return moved_; }

 private:
  // The kernel's copy is an optimisation the system may not offer: kernels
  // before 4.5 lack it, file systems and container filters refuse it with
  // whatever error they choose (ENOSYS, EPERM, EINVAL, EXDEV, ...), and some
  // file systems answer 0 without copying. Only a failure of the output
  // itself ends the extraction; anything else, and every 0, hands the rest
  // of the entry to the buffer, whose read alone tells that the launcher
  // file has really ended.
  ssize_t copyInKernel(size_t count) {
    ssize_t n;
    do {
      n = ::copy_file_range(in_, &moved_, out_, nullptr, count, 0);
    } while (n < 0 && errno == EINTR);
    if (n > 0) return n;
    if (n < 0 && isWriteFailure(errno)) return -1;
    kernelCopy_ = false;
    return copyThroughBuffer(count);
  }

  static bool isWriteFailure(int error) { return error == ENOSPC || error == EDQUOT || error == EFBIG || error == EIO; }

  ssize_t copyThroughBuffer(size_t count) {
    if (buffer_.empty()) buffer_.resize(kExtractChunkSize);
    if (count > buffer_.size()) count = buffer_.size();
    ssize_t got;
    do {
      got = ::pread(in_, buffer_.data(), count, moved_);
    } while (got < 0 && errno == EINTR);
    if (got <= 0) return got;
    if (checksum_) checksum_->update(buffer_.data(), static_cast<size_t>(got));
    for (ssize_t written = 0; written < got;) {
      ssize_t n = ::write(out_, buffer_.data() + written, static_cast<size_t>(got - written));
      if (n < 0 && errno == EINTR) continue;
      if (n <= 0) {
        if (n == 0) errno = ENOSPC;
        return -1;
      }
      written += n;
    }
    moved_ += got;
    return got;
  }

  int in_;
  int out_;
  off_t moved_;
  bool kernelCopy_;
  Crc32c* checksum_;
  bool launcherEnded_ = false;
  std::vector<char> buffer_;
};

off_t pageSize() {
  static const long size = ::sysconf(_SC_PAGESIZE);
  return size > 0 ? size : 4096;
}

// Where the move for a chunk stops: on the last page boundary of the output
// within the chunk, so the few bytes of the chunk beyond it go with the next
// chunk; only the last chunk moves up to its very end. A chunk is not a
// whole number of pages, and a write that ends inside a page leaves that
// page for the next write to finish, which costs the file system measurably
// more over a large file. The output and the progress steps stay the same.
off_t moveEndOf(off_t chunkEnd, off_t dataEnd, off_t offset) {
  if (chunkEnd >= dataEnd) return dataEnd;
  return offset + (chunkEnd - offset) / pageSize() * pageSize();
}

// Chunks moved by one step of the copy. Each chunk still gets its progress
// step, but a system call per chunk of 60 KB would cost a third of the
// kernel's copy time over a large entry; the steps of a batch follow each
// other within a millisecond or two.
const int kChunksPerMove = 32;

}  // namespace

CopyEnd copyWithProgress(int launcher, int output, const EntryBytes& bytes, Crc32c* checksum) {
  const off_t offset = bytes.offset, end = bytes.end, dataEnd = bytes.dataEnd;
  ChunkCopier copier(launcher, output, offset, checksum);
  off_t position = offset;
  CopyEnd result;
  while (position < end && !result.launcherEnded && result.error == 0) {
    if (TerminationSignal() != 0) {
      result.stopped = true;
      return result;
    }
    const off_t moveEnd = end - position < off_t{kChunksPerMove} * kExtractChunkSize
                              ? end
                              : position + off_t{kChunksPerMove} * kExtractChunkSize;
    if (!copier.moveTo(moveEndOf(moveEnd, dataEnd, offset))) result.error = errno;
    // One step per chunk of the move, up to the chunk that the launcher file
    // does not fill, which is the last one.
    while (position < moveEnd && !result.launcherEnded) {
      const off_t chunkEnd = position + (end - position < kExtractChunkSize ? end - position : kExtractChunkSize);
      result.launcherEnded = chunkEnd > dataEnd || (copier.launcherEnded() && chunkEnd >= copier.position());
      ProgressTick(1);
      position = chunkEnd;
    }
  }
  return result;
}
