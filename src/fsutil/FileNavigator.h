// The exhaustive JVM search looks at every file of every file system: one
// depth-first walk by full paths, with hooks. (The removal of the
// launcher's temporary directories walks relative to open directories
// instead, see DeleteFullDir.h: what it removes may lie deeper than any
// full path reaches.)
#pragma once

#include <sys/types.h>

#include "base/Deque.h"
#include "base/SString.h"
#include "fsutil/FileFindListener.h"

// True when the path exists without following links and its file type
// carries the directory bit (see DirectoryBit.h).
bool isDirectory(const SString& path);

// Whether path lies below the directory dir: dir followed by a separator
// starts it. "/t/lib" is not below "/t/li", nor below itself.
bool isBelow(const SString& dir, const SString& path);

// The depth-first walk. Directories wait on a stack; among the
// subdirectories of one directory the one read last is visited first, and
// every directory is visited after its parent. Files are handed to
// processFile while their directory is read. Directories that cannot be
// opened or read are left out silently.
class FileNavigator {
 public:
  // Returns non-zero when processFile asked to stop.
  virtual int navigate(const SString& start);
  // Called for every entry that is not a directory; non-zero stops the walk.
  virtual int processFile(const SString& path) = 0;
  // Non-zero keeps a directory from being opened.
  virtual int skipDirectory(const SString& path);

 protected:
  FileNavigator() {}
  ~FileNavigator() {}
  FileNavigator(const FileNavigator&) = delete;
  FileNavigator& operator=(const FileNavigator&) = delete;

  // Called for every directory taken from the stack, skipped or not.
  virtual void directoryTaken(const SString& path);
  // Non-zero keeps the walk out of a directory where a file system of this
  // statfs type begins (a mount point, or the start directory).
  virtual int skipFileSystem(long fileSystemType);

 private:
  struct PendingDirectory {
    SString path;
    // Device of the directory it was found in: the file system type needs
    // checking only where the device changes, that is at mount points.
    dev_t parentDevice;
    bool parentKnown;
  };
  // Only the pending directories are kept, not the visited ones: a walk
  // over every file system must stay linear in time and small in memory.
  PtrDeque<PendingDirectory> pending_;
};

// Reports every file whose path ends with one of the names (relative paths
// such as "jre/bin/java", matched at a separator) to the listener. The
// launcher's temporary root, /tmp and the kernel's pseudo file systems are
// never searched.
class FindFiles final : public FileNavigator {
 public:
  // Neither names nor listener is owned; both must outlive the walk. The
  // temporary root is taken as it stands now.
  FindFiles(const StringDeque& names, FileFindListener* listener);

  int processFile(const SString& path) override;
  int skipDirectory(const SString& path) override;

 protected:
  int skipFileSystem(long fileSystemType) override;

 private:
  const StringDeque* names_;
  FileFindListener* listener_;
  SString tempRoot_;
};
