#include "launcher/ExecutablePath.h"

#include <unistd.h>

#include <cerrno>
#include <vector>

#include "fsutil/Platform.h"

namespace {

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

}  // namespace

SString AbsoluteExecutablePath(const SString& argv0) {
  if (!argv0.empty() && argv0[0] == '/') return argv0;
  SString cwd = WorkingDirectory();
  SString path = cwd.empty() ? argv0 : JoinDir(cwd, argv0);
  if (argv0.find('/') != SString::npos || FileExists(path)) return path;
  StringDeque dirs;
  GetPathDirs(dirs);
  for (int i = 0; i < dirs.count(); ++i) {
    if (dirs.get(i).empty()) continue;
    SString candidate = JoinDir(dirs.get(i), argv0);
    if (access(candidate.c_str(), X_OK) == 0) return candidate;
  }
  return path;
}
