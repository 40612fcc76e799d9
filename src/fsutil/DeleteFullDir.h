// The clean-up removes whatever the launcher and the programs it ran left
// in its temporary directories: a program's folder unpacked below a long
// TMPDIR can be deeper than any path the system accepts, and a program may
// have left links pointing anywhere. So no entry below the start is ever
// named by its full path: every step is taken relative to an open
// directory, by one plain name, and a link is removed itself, never
// followed. The full paths are only put together for the log.
#pragma once

#include "base/Deque.h"
#include "base/SString.h"

class DeleteFullDir {
 public:
  DeleteFullDir() {}
  DeleteFullDir(const DeleteFullDir&) = delete;
  DeleteFullDir& operator=(const DeleteFullDir&) = delete;

  // Removes path, and everything below it when it is a directory (a link
  // named by path is removed itself). A path that does not exist costs no
  // message; every entry that cannot be removed is logged as a warning
  // naming its full path. A directory that could not be removed keeps its
  // ancestors from being attempted, so one stuck file costs one warning for
  // itself and one for its directory. Returns whether path is gone.
  bool remove(const SString& path);

  // The directories whose removal failed in the last call, by full path.
  const StringDeque& failed() const { return failed_; }

 private:
  StringDeque failed_;
};
