#include "archive/ExtractOpen.h"

#include <fcntl.h>
#include <linux/falloc.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>

#include "archive/FileIndexEntry.h"
#include "archive/WriteError.h"
#include "base/LauncherException.h"

namespace {

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

// An entry may carry the launcher's own file name (an embedded launcher
// named like its host, extracted next to it). Truncating the output would
// then destroy the very file the bytes come from.
bool isTheLauncher(int launcher, const SString& path) {
  struct stat launcherStatus, outputStatus;
  if (::fstat(launcher, &launcherStatus) != 0 || ::stat(path.c_str(), &outputStatus) != 0) return false;
  return launcherStatus.st_dev == outputStatus.st_dev && launcherStatus.st_ino == outputStatus.st_ino;
}

// The output is always a file of its own making: whatever the name stands
// for in the directory (a link planted to somewhere else, a pipe, a file
// another program holds open) is removed first, and the new file is created
// exclusively and without following a link, so that nothing outside the
// directory is ever written. Its mode is exactly mode, whatever the umask:
// the launcher runs what it extracts, often as root, so no one else may
// change it. Not open, with errno set, on failure.
FileDescriptor createAnew(const SString& path, mode_t mode) {
  if (::unlink(path.c_str()) != 0 && errno != ENOENT) return FileDescriptor();
  FileDescriptor file(::open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, mode));
  if (file.isOpen() && ::fchmod(file.get(), mode) != 0) {
    int error = errno;
    file = FileDescriptor();
    ::unlink(path.c_str());
    errno = error;
  }
  return file;
}

}  // namespace

ExtractFiles openForExtraction(const SString& launcherPath, const FileIndexEntry& entry, const SString& path,
                               mode_t mode) {
  ExtractFiles files;
  files.launcher = FileDescriptor(::open(launcherPath.c_str(), O_RDONLY | O_CLOEXEC));
  if (!files.launcher.isOpen()) throw LauncherException("Cannot open launcher file.");
  if (isTheLauncher(files.launcher.get(), path)) {
    throw LauncherException("Cannot extract " + path + ": it is the launcher file itself.");
  }
  files.output = createAnew(path, mode);
  if (!files.output.isOpen()) throw writeFailure(path, errno);
  EntryBytes& bytes = files.bytes;
  bytes.offset = entry.getOffset();
  bytes.end = bytes.offset + static_cast<off_t>(entry.getLength());
  const off_t size = launcherSize(files.launcher.get());
  bytes.dataEnd = size >= 0 && size < bytes.end ? size : bytes.end;
  // A deflated entry takes the room of its unpacked bytes.
  if (size >= 0) {
    reserveSpace(files.output.get(),
                 entry.isDeflated() ? static_cast<off_t>(entry.getDecompressedSize()) : bytes.dataEnd - bytes.offset);
  }
  return files;
}
