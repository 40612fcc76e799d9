#include "launch/WorkingDirScope.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

#include "base/LauncherException.h"

WorkingDirScope::WorkingDirScope(const SString& dir) {
  if (dir.empty()) return;
  previous_ = FileDescriptor(open(".", O_PATH | O_DIRECTORY | O_CLOEXEC));
  // Without a way back the launcher would stay in the child's directory.
  if (!previous_.isOpen() || chdir(dir.c_str()) != 0) {
    int error = errno;
    restore();
    throw LauncherException("Error setting working directory: " + dir + " " + SString(std::strerror(error)));
  }
}
