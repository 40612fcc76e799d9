#include "archive/Extract.h"

#include <fcntl.h>
#include <linux/falloc.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <vector>

#include "archive/AppDirExtract.h"
#include "archive/BackgroundChecksum.h"
#include "archive/Crc32c.h"
#include "archive/DamagedLauncher.h"
#include "archive/EntryName.h"
#include "archive/WriteError.h"
#include "base/LauncherException.h"
#include "base/OpenFiles.h"
#include "base/Termination.h"
#include "fsutil/Platform.h"
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

// The size of the launcher file, or -1 when it cannot be told.
off_t launcherSize(int launcher) {
  struct stat status;
  if (::fstat(launcher, &status) != 0 || !S_ISREG(status.st_mode)) return -1;
  return status.st_size;
}

// Reserving the output's blocks in one step spares the file system from
// allocating them chunk by chunk, which on ext4 costs about a fifth of the
// copy's time. Only bytes that really exist in the launcher are reserved, so
// a short launcher leaves no unused blocks behind. A file system that cannot
// reserve simply allocates as the bytes come.
void reserveSpace(int output, off_t bytes) {
  if (bytes > 0) (void)::fallocate(output, FALLOC_FL_KEEP_SIZE, 0, bytes);
}

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

// From this size on, a checked entry is copied by the kernel while a second
// thread checks it; smaller ones pass through the copy's buffer, where the
// check costs less than starting a thread.
const off_t kBackgroundCheckSize = 1024 * 1024;

SString outputPathFor(const SString& directory, const SString& name) {
  if (directory.empty() || directory[directory.length() - 1] == '/') return directory + name;
  return directory + "/" + name;
}

// An entry may carry the launcher's own file name (an embedded launcher
// named like its host, extracted next to it). Truncating the output would
// then destroy the very file the bytes come from.
void refuseToOverwriteLauncher(int launcher, const SString& path) {
  struct stat launcherStatus, outputStatus;
  if (::fstat(launcher, &launcherStatus) != 0 || ::stat(path.c_str(), &outputStatus) != 0) return;
  if (launcherStatus.st_dev == outputStatus.st_dev && launcherStatus.st_ino == outputStatus.st_ino) {
    throw LauncherException("Cannot extract " + path + ": it is the launcher file itself.");
  }
}

// The output is always a file of its own making: whatever the name stands
// for in the directory (a link planted to somewhere else, a pipe, a file
// another program holds open) is removed first, and the new file is created
// exclusively and without following a link, so that nothing outside the
// directory is ever written. Its mode is exactly mode, whatever the umask:
// the launcher runs what it extracts, often as root, so no one else may
// change it. Returns -1 with errno set on failure.
int createAnew(const SString& path, mode_t mode) {
  if (::unlink(path.c_str()) != 0 && errno != ENOENT) return -1;
  int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, mode);
  if (fd >= 0 && ::fchmod(fd, mode) != 0) {
    int error = errno;
    ::close(fd);
    ::unlink(path.c_str());
    errno = error;
    return -1;
  }
  return fd;
}

}  // namespace

SString extractFile(const SString& launcherPath, FileIndexEntry* entry, const SString& directory) {
  checkEntryName(entry);
  // A program's folder is unpacked, so only its files take up room; any
  // other entry is written as it stands, and a compressed one may be
  // unpacked beside it by the program it serves.
  const bool folder = entry->getType() == FT_APP_DIR;
  double bytes = folder ? 0 : entry->getLength();
  long files = 1;
  if (entry->isCompressed()) {
    bytes += entry->getDecompressedSize();
    files += entry->getDecompressedFileCount();
  }
  SString path = outputPathFor(directory, entry->getName());
  if (!HasEnoughDiskSpace(directory, bytes, files)) {
    throw WriteFailure(GetMessage(ERR_WRITING_FILE) + GetMessage(ERR_DISK_SPACE_HINT), path, ENOSPC);
  }
  if (folder) return unpackAppDirectory(launcherPath, entry, directory);

  FileDescriptor launcher(::open(launcherPath.c_str(), O_RDONLY | O_CLOEXEC));
  if (!launcher.isOpen()) throw LauncherException("Cannot open launcher file.");
  refuseToOverwriteLauncher(launcher.get(), path);

  // Programs the launcher starts (an installer, an embedded launcher) are
  // its owner's to run; everything else its owner's to read.
  const bool program = entry->getType() == FT_JVM_INSTALLER || entry->getType() == FT_LAUNCHER;
  FileDescriptor output(createAnew(path, program ? 0700 : 0600));
  if (!output.isOpen()) throw writeFailure(path, errno);
  // From here on the file is ours: whatever ends the copy early removes it,
  // so that no one takes a part for the whole.
  auto removeOutput = [&] {
    output.close();
    ::unlink(path.c_str());
  };

  const off_t offset = entry->getOffset();
  const off_t end = offset + static_cast<off_t>(entry->getLength());
  // An index may claim more bytes than the launcher file holds.
  const off_t size = launcherSize(launcher.get());
  const off_t dataEnd = size >= 0 && size < end ? size : end;
  if (size >= 0) reserveSpace(output.get(), dataEnd - offset);
  Crc32c checksum;
  BackgroundChecksum background;
  bool checkInBackground =
      entry->hasChecksum() && dataEnd - offset >= kBackgroundCheckSize && background.start(launcher.get(), offset, end);
  bool checkInCopy = entry->hasChecksum() && !checkInBackground;
  ChunkCopier copier(launcher.get(), output.get(), offset, checkInCopy ? &checksum : nullptr);
  off_t position = offset;
  bool launcherEnded = false;
  int error = 0;
  while (position < end && !launcherEnded && error == 0) {
    if (TerminationSignal() != 0) {
      removeOutput();
      CheckTermination();
    }
    const off_t moveEnd = end - position < off_t{kChunksPerMove} * kExtractChunkSize
                              ? end
                              : position + off_t{kChunksPerMove} * kExtractChunkSize;
    if (!copier.moveTo(moveEndOf(moveEnd, dataEnd, offset))) error = errno;
    // One step per chunk of the move, up to the chunk that the launcher file
    // does not fill, which is the last one.
    while (position < moveEnd && !launcherEnded) {
      const off_t chunkEnd = position + (end - position < kExtractChunkSize ? end - position : kExtractChunkSize);
      launcherEnded = chunkEnd > dataEnd || (copier.launcherEnded() && chunkEnd >= copier.position());
      ProgressTick(1);
      position = chunkEnd;
    }
  }
  if (output.close() != 0 && error == 0) error = errno;
  uint32_t value = checksum.value();
  // A launcher that ends inside the entry lacks some of its bytes, which
  // the checksum tells as well.
  bool complete = !launcherEnded;
  if (checkInBackground && !background.finish(value)) complete = false;
  if (error != 0) {
    ::unlink(path.c_str());
    throw writeFailure(path, error);
  }
  if (entry->hasChecksum() && (!complete || value != entry->getChecksum())) {
    ::unlink(path.c_str());
    throw damagedEntry(entry->getName());
  }
  return path;
}
