#include "archive/ExtractOpen.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>

#include "archive/WriteError.h"
#include "base/LauncherException.h"

namespace {

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

ExtractFiles openForExtraction(const SString& launcherPath, const SString& path, mode_t mode) {
  ExtractFiles files;
  files.launcher = FileDescriptor(::open(launcherPath.c_str(), O_RDONLY | O_CLOEXEC));
  if (!files.launcher.isOpen()) throw LauncherException("Cannot open launcher file.");
  refuseToOverwriteLauncher(files.launcher.get(), path);
  files.output = createAnew(path, mode);
  if (!files.output.isOpen()) throw writeFailure(path, errno);
  return files;
}
