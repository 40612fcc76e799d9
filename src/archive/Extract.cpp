#include "archive/Extract.h"

#include <fcntl.h>
#include <linux/falloc.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <vector>

#include "archive/EntryName.h"
#include "base/LauncherException.h"
#include "base/Termination.h"
#include "fsutil/Platform.h"
#include "launcher/Settings.h"
#include "messages/Messages.h"

namespace {

class Descriptor {
 public:
  explicit Descriptor(int fd) : fd_(fd) {}
  ~Descriptor() {
    if (fd_ >= 0) ::close(fd_);
  }
  Descriptor(const Descriptor&) = delete;
  Descriptor& operator=(const Descriptor&) = delete;
  int get() const { return fd_; }
  bool isOpen() const { return fd_ >= 0; }
  // Closes now; the result tells whether the kernel accepted every byte,
  // which some file systems only report here.
  int close() {
    int result = ::close(fd_);
    fd_ = -1;
    return result;
  }

 private:
  int fd_;
};

// Moves one chunk from the launcher file to the output. The kernel copies
// between the two files itself where it can, which spares two copies through
// user memory per chunk; file systems that cannot do that get read and write
// through the buffer instead.
class ChunkCopier {
 public:
  // Copies up to count bytes from position on and advances position by the
  // bytes moved. Fewer than count without an error means the launcher file
  // ended. Returns false with errno set when reading or writing failed.
  bool copy(int in, off_t& position, int out, size_t count) {
    size_t moved = 0;
    while (moved < count) {
      ssize_t n = kernelCopy_ ? copyInKernel(in, position, out, count - moved)
                              : copyThroughBuffer(in, position, out, count - moved);
      if (n < 0) return false;
      if (n == 0) break;
      moved += static_cast<size_t>(n);
    }
    lastMoved_ = moved;
    return true;
  }
  size_t lastMoved() const { return lastMoved_; }

 private:
  ssize_t copyInKernel(int in, off_t& position, int out, size_t count) {
    ssize_t n = ::copy_file_range(in, &position, out, nullptr, count, 0);
    if (n >= 0) return n;
    if (errno == ENOSYS || errno == EXDEV || errno == EINVAL || errno == EOPNOTSUPP) {
      kernelCopy_ = false;
      return copyThroughBuffer(in, position, out, count);
    }
    return -1;
  }

  ssize_t copyThroughBuffer(int in, off_t& position, int out, size_t count) {
    if (buffer_.empty()) buffer_.resize(kExtractChunkSize);
    if (count > buffer_.size()) count = buffer_.size();
    ssize_t got;
    do {
      got = ::pread(in, buffer_.data(), count, position);
    } while (got < 0 && errno == EINTR);
    if (got <= 0) return got;
    for (ssize_t written = 0; written < got;) {
      ssize_t n = ::write(out, buffer_.data() + written, static_cast<size_t>(got - written));
      if (n < 0 && errno == EINTR) continue;
      if (n <= 0) {
        if (n == 0) errno = ENOSPC;
        return -1;
      }
      written += n;
    }
    position += got;
    return got;
  }

  bool kernelCopy_ = true;
  std::vector<char> buffer_;
  size_t lastMoved_ = 0;
};

// Reserving the output's blocks in one step spares the file system from
// allocating them chunk by chunk, which on ext4 costs about a fifth of the
// copy's time. Only bytes that really exist in the launcher are reserved, so
// a short launcher leaves no unused blocks behind. A file system that cannot
// reserve simply allocates as the bytes come.
void reserveSpace(int launcher, int output, off_t offset, off_t end) {
  struct stat status;
  if (::fstat(launcher, &status) != 0) return;
  const off_t available = (end < status.st_size ? end : status.st_size) - offset;
  if (available > 0) (void)::fallocate(output, FALLOC_FL_KEEP_SIZE, 0, available);
}

SString outputPathFor(const SString& directory, const SString& name) {
  if (directory.empty() || directory[directory.length() - 1] == '/') return directory + name;
  return directory + "/" + name;
}

LauncherException writeError(const SString& detail) {
  return LauncherException(GetMessage(ERR_WRITING_FILE) + detail + GetMessage(ERR_DISK_SPACE_HINT));
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

}  // namespace

SString extractFile(FileIndexEntry* entry, const SString& directory) {
  checkEntryName(entry);
  double bytes = entry->getLength();
  long files = 1;
  if (entry->isCompressed()) {
    bytes += entry->getDecompressedSize();
    files += entry->getDecompressedFileCount();
  }
  if (!HasEnoughDiskSpace(directory, bytes, files)) throw writeError("");

  SString path = outputPathFor(directory, entry->getName());
  Descriptor launcher(::open(settings().launcherPath.c_str(), O_RDONLY | O_CLOEXEC));
  if (!launcher.isOpen()) throw LauncherException("Cannot open launcher file.");
  refuseToOverwriteLauncher(launcher.get(), path);

  int error = 0;
  Descriptor output(::open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0666));
  if (!output.isOpen()) error = errno;

  off_t position = entry->getOffset();
  const off_t end = position + static_cast<off_t>(entry->getLength());
  if (output.isOpen()) reserveSpace(launcher.get(), output.get(), position, end);
  ChunkCopier copier;
  bool launcherEnded = false;
  while (position < end && !launcherEnded && error == 0) {
    if (TerminationSignal() != 0) {
      // Cut short, the file would look whole to whoever finds it next.
      output.close();
      ::unlink(path.c_str());
      CheckTermination();
    }
    size_t chunk = static_cast<size_t>(end - position < kExtractChunkSize ? end - position : kExtractChunkSize);
    if (!copier.copy(launcher.get(), position, output.get(), chunk)) {
      error = errno;
    } else {
      launcherEnded = copier.lastMoved() < chunk;
    }
    ProgressTick(1);
  }
  if (output.isOpen() && output.close() != 0 && error == 0) error = errno;
  if (error != 0) throw writeError(fromLong(error));

  if (entry->getType() == FT_JVM_INSTALLER || entry->getType() == FT_LAUNCHER) MakeExecutable(path);
  return path;
}
