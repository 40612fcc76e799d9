// The working directory of a command the launcher starts.
#pragma once

#include <unistd.h>

#include "base/OpenFiles.h"
#include "base/SString.h"

// Changes to a working directory for as long as the child is being forked
// and goes back afterwards, also when starting the child fails. The way back
// is kept as a descriptor, so no path length limits it.
class WorkingDirScope {
 public:
  // An empty dir leaves the current directory as it is. Throws
  // LauncherException when dir cannot be entered; the launcher then stays
  // where it was.
  explicit WorkingDirScope(const SString& dir);
  ~WorkingDirScope() { restore(); }
  WorkingDirScope(const WorkingDirScope&) = delete;
  WorkingDirScope& operator=(const WorkingDirScope&) = delete;

  // Goes back to the directory the launcher was in; once only.
  void restore() {
    if (!previous_.isOpen()) return;
    if (fchdir(previous_.get()) != 0) {
      // The old directory is gone; staying in the new one is all that is left.
    }
    previous_ = FileDescriptor();
  }

 private:
  FileDescriptor previous_;
};
