#include "fsutil/FileNavigator.h"

#include <dirent.h>
#include <sys/stat.h>
#include <sys/vfs.h>
#include <unistd.h>

#include "base/Termination.h"
#include "fsutil/DirectoryBit.h"
#include "fsutil/PseudoFileSystems.h"
#include "fsutil/TempFiles.h"
#include "messages/Messages.h"

namespace {

// The progress display moves one unit per this many files, not per file.
const long kFilesPerProgressTick = 1000;

bool isDotOrDotDot(const char* name) {
  return name[0] == '.' && (name[1] == '\0' || (name[1] == '.' && name[2] == '\0'));
}

// The open directory of one walk step, closed whichever way the step ends.
class OpenDirectory {
 public:
  explicit OpenDirectory(const SString& path) : dir_(opendir(path.c_str())) {}
  ~OpenDirectory() {
    if (dir_) closedir(dir_);
  }
  OpenDirectory(const OpenDirectory&) = delete;
  OpenDirectory& operator=(const OpenDirectory&) = delete;

  DIR* get() const { return dir_; }

 private:
  DIR* dir_;
};

}  // namespace

bool isDirectory(const SString& path) {
  struct stat status;
  return lstat(path.c_str(), &status) == 0 && HasDirectoryBit(status.st_mode);
}

bool isBelow(const SString& dir, const SString& path) {
  if (path.length() <= dir.length() || path.compare(0, dir.length(), dir) != 0) return false;
  return endsWith(dir, "/") != SString::npos || path[dir.length()] == '/';
}

int FileNavigator::skipDirectory(const SString&) { return 0; }

void FileNavigator::directoryTaken(const SString&) {}

int FileNavigator::skipFileSystem(long) { return 0; }

int FileNavigator::navigate(const SString& start) {
  pending_.removeAll();
  pending_.add(new PendingDirectory{start, 0, false});
  long fileCount = 0;
  int stop = 0;
  while (!pending_.isEmpty() && stop == 0) {
    PendingDirectory current = *pending_.last();
    pending_.removeLast();
    directoryTaken(current.path);
    if (skipDirectory(current.path)) continue;

    OpenDirectory dir(current.path);
    if (!dir.get()) continue;
    int dirFd = dirfd(dir.get());
    struct stat dirStatus;
    if (fstat(dirFd, &dirStatus) != 0) continue;
    if (!current.parentKnown || dirStatus.st_dev != current.parentDevice) {
      struct statfs fileSystem;
      if (fstatfs(dirFd, &fileSystem) == 0 && skipFileSystem(fileSystem.f_type)) continue;
    }

    // One buffer for every entry's path: only the prefix stays between
    // entries, so a file costs no allocation of its own.
    SString entryPath = current.path;
    if (endsWith(entryPath, "/") == SString::npos) entryPath += '/';
    const SString::size_type prefixLength = entryPath.length();
    // readdir returns null at the end and on a failure alike. Either way
    // the directory is done: some kernel directories fail every read, even
    // for root, and asking again would never end.
    while (stop == 0) {
      struct dirent* entry = readdir(dir.get());
      if (!entry) break;
      if (isDotOrDotDot(entry->d_name)) continue;
      entryPath.erase(prefixLength);
      entryPath.append(entry->d_name);
      if (EntryHasDirectoryBit(dirFd, entry->d_name, entry->d_type)) {
        pending_.add(new PendingDirectory{entryPath, dirStatus.st_dev, true});
      } else {
        stop = processFile(entryPath);
        if (++fileCount % kFilesPerProgressTick == 0) ProgressTick(1);
      }
    }
  }
  return stop;
}

FindFiles::FindFiles(const StringDeque& names, FileFindListener* listener)
    : names_(&names), listener_(listener), tempRoot_(GetTempRoot()) {
  // Walked paths never end with a separator; compare the root in that form.
  while (tempRoot_.length() > 1 && endsWith(tempRoot_, "/") != SString::npos) {
    tempRoot_.erase(tempRoot_.length() - 1);
  }
}

int FindFiles::processFile(const SString& path) {
  int stop = 0;
  for (int i = 0; i < names_->count() && stop == 0; ++i) {
    const SString& name = names_->get(i);
    if (path.length() <= name.length()) continue;
    SString::size_type cut = path.length() - name.length();
    if (path[cut - 1] == '/' && path.compare(cut, name.length(), name) == 0) {
      stop = listener_->fileFound(path);
    }
  }
  return stop;
}

int FindFiles::skipDirectory(const SString& path) {
  // A search of every file system takes minutes; a signal ends it at the
  // next directory. (The clean-up has no such check: it is what a signal
  // asks for.)
  CheckTermination();
  return path == tempRoot_ || path == "/tmp";
}

int FindFiles::skipFileSystem(long fileSystemType) { return IsPseudoFileSystem(fileSystemType); }
