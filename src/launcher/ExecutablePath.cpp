#include "launcher/ExecutablePath.h"

#include <fcntl.h>
#include <limits.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <vector>

#include "base/OpenFiles.h"
#include "fsutil/Platform.h"

namespace {

const char kRunningFile[] = "/proc/self/exe";

// The working directory, however long; empty when it cannot be read (it was
// removed, or a parent is not searchable). Never formed from an unset buffer.
SString WorkingDirectory() {
  std::vector<char> buffer(1024);
  for (;;) {
    if (getcwd(buffer.data(), buffer.size())) return SString(buffer.data());
    if (errno != ERANGE || buffer.size() >= (1u << 20)) return SString();
    buffer.resize(buffer.size() * 2);
  }
}

SString JoinDir(const SString& dir, const SString& name) {
  if (dir.empty()) return name;
  SString path = dir;
  if (path[path.length() - 1] != '/') path += "/";
  path += name;
  return path;
}

bool IsAbsolute(const SString& path) { return !path.empty() && path[0] == '/'; }

// Where the shell found a bare name. Empty and relative PATH entries name
// the working directory, which may be anyone's: they are never tried.
SString FoundThroughPath(const SString& name) {
  StringDeque dirs;
  GetPathDirs(dirs);
  for (int i = 0; i < dirs.count(); ++i) {
    if (!IsAbsolute(dirs.get(i))) continue;
    SString candidate = JoinDir(dirs.get(i), name);
    struct stat status;
    if (::stat(candidate.c_str(), &status) == 0 && S_ISREG(status.st_mode) && access(candidate.c_str(), X_OK) == 0) {
      return candidate;
    }
  }
  return SString();
}

// The path argv0 gives, unchecked: a path with a '/' as typed, relative to
// the working directory; a bare name through PATH.
SString PathFromArgv0(const SString& argv0) {
  if (argv0.empty()) return SString();
  if (IsAbsolute(argv0)) return argv0;
  if (argv0.find('/') == SString::npos) return FoundThroughPath(argv0);
  SString cwd = WorkingDirectory();
  return cwd.empty() ? SString() : JoinDir(cwd, argv0);
}

SString ReadLinkTarget(const char* link) {
  char target[PATH_MAX];
  ssize_t length = readlink(link, target, sizeof target);
  if (length <= 0 || static_cast<size_t>(length) >= sizeof target) return SString();
  return SString(target, static_cast<SString::size_type>(length));
}

}  // namespace

SString AbsoluteExecutablePath(const SString& argv0) {
  SString typed = PathFromArgv0(argv0);
  struct stat running;
  if (::stat(kRunningFile, &running) != 0) return typed;
  // The name the user started it by is kept when it leads to this very
  // file (a link in PATH, say): side files and the launcher's directory are
  // looked for where the user put the launcher.
  struct stat named;
  if (!typed.empty() && ::stat(typed.c_str(), &named) == 0 && named.st_dev == running.st_dev &&
      named.st_ino == running.st_ino) {
    return typed;
  }
  SString real = ReadLinkTarget(kRunningFile);
  return IsAbsolute(real) ? real : typed;
}

SString RunningExecutableFile() {
  FileDescriptor probe(::open(kRunningFile, O_RDONLY | O_CLOEXEC));
  return probe.isOpen() ? SString(kRunningFile) : SString();
}
