#include "fsutil/DeleteFullDir.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <utility>

#include "base/Log.h"
#include "base/OpenFiles.h"

// How few descriptors a removal holds, however deep the tree. A descriptor
// kept open for every level down to the deepest would run into the limit
// of open files (often 1,024) on a tree that deep; reopening each
// directory from the start by its path would run into the system's bound
// on a path's length, which a deep tree below a long TMPDIR exceeds. So the
// walk holds one directory open at a time, besides the one the start lies
// in: it goes down by opening a subdirectory relative to the current one,
// and climbs back by opening "..". On the way down it notes each
// directory's device and inode, and ".." is taken only when it is the
// directory noted: should the current one have been moved meanwhile, ".."
// would lead out of the tree, and the walk goes down again from the start
// by the noted names instead, checking each step the same way. Every
// directory is entered without following a link (O_NOFOLLOW), and its
// entries are removed by name relative to it.

namespace {

const int kOpenDirectory = O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC;

bool isDotOrDotDot(const char* name) {
  return name[0] == '.' && (name[1] == '\0' || (name[1] == '.' && name[2] == '\0'));
}

// The full path of the entry name of the directory at path, for the log.
SString below(const SString& path, const char* name) {
  if (path.empty()) return name;
  return path == "/" ? "/" + SString(name) : path + "/" + name;
}

void warn(const SString& path, int error) { log("Could not delete " + path + " :  " + std::strerror(error), WARNING); }

// Reads an open directory's entries through a descriptor of its own, so the
// directory's descriptor stays free for the calls relative to it.
class DirectoryStream {
 public:
  explicit DirectoryStream(int directory) {
    int fd = fcntl(directory, F_DUPFD_CLOEXEC, 0);
    if (fd < 0) return;
    stream_ = fdopendir(fd);
    if (!stream_) {
      int error = errno;
      close(fd);
      errno = error;
    }
  }
  ~DirectoryStream() {
    if (stream_) closedir(stream_);
  }
  DirectoryStream(const DirectoryStream&) = delete;
  DirectoryStream& operator=(const DirectoryStream&) = delete;

  DIR* get() const { return stream_; }

 private:
  DIR* stream_ = nullptr;
};

// One directory on the way from the start down to the current one.
struct Level {
  SString name;  // in the directory above
  dev_t device;
  ino_t inode;
  // Read, and not yet removed; the one read last is entered first.
  StringDeque subdirectories;
  // Something below stays, so this directory stays too, unattempted.
  bool keep;
};

bool isLevel(int fd, const Level& level) {
  struct stat status;
  return fstat(fd, &status) == 0 && status.st_dev == level.device && status.st_ino == level.inode;
}

bool isDirectoryEntry(int directory, const dirent* entry) {
  if (entry->d_type != DT_UNKNOWN) return entry->d_type == DT_DIR;
  struct stat status;
  return fstatat(directory, entry->d_name, &status, AT_SYMLINK_NOFOLLOW) == 0 && S_ISDIR(status.st_mode);
}

// The removal of one directory tree, the start being the entry name of the
// open directory startParent (whose path is parentPath).
class TreeRemoval {
 public:
  TreeRemoval(int startParent, const SString& parentPath, StringDeque& failed)
      : startParent_(startParent), parentPath_(parentPath), path_(parentPath), failed_(failed) {}

  bool run(const SString& name);

 private:
  int enter(int parent, const SString& name);
  void removeEntries(Level& level);
  bool removeFile(int directory, const char* name);
  bool removeUnopened(int directory, const SString& name, int openError);
  bool removeDirectory(int directory, const SString& name, int openError);
  FileDescriptor openAbove();

  const int startParent_;
  const SString parentPath_;
  // The path of the current directory (of the start's, before the start is
  // entered), for the log only.
  SString path_;
  StringDeque& failed_;
  PtrDeque<Level> levels_;
  FileDescriptor current_;
};

bool TreeRemoval::run(const SString& name) {
  int error = enter(startParent_, name);
  if (error != 0) return removeUnopened(startParent_, name, error);
  for (;;) {
    Level& level = *levels_.last();
    if (!level.subdirectories.isEmpty()) {
      const SString child = level.subdirectories.last();
      level.subdirectories.removeLast();
      error = enter(current_.get(), child);
      if (error != 0 && !removeUnopened(current_.get(), child, error)) level.keep = true;
      continue;
    }
    // Every entry of the current directory is gone, or stays: the
    // directory itself goes next, from the one above it.
    const SString done = level.name;
    const bool keep = level.keep;
    if (levels_.count() == 1) {
      current_ = FileDescriptor();
      path_ = parentPath_;
      return !keep && removeDirectory(startParent_, done, 0);
    }
    FileDescriptor above = openAbove();
    if (!above.isOpen()) {
      log("Could not delete " + path_ + " :  it was moved away while it was being deleted", WARNING);
      return false;
    }
    current_ = std::move(above);
    levels_.removeLast();
    path_.erase(path_.length() - done.length() - 1);
    if (keep || !removeDirectory(current_.get(), done, 0)) levels_.last()->keep = true;
  }
}

// Opens the subdirectory name of parent, makes it the current directory
// (which closes the one before) and removes everything in it but its
// subdirectories, which it notes. Returns 0, or the error that kept it from
// being opened.
int TreeRemoval::enter(int parent, const SString& name) {
  FileDescriptor opened(openat(parent, name.c_str(), kOpenDirectory));
  struct stat status;
  if (!opened.isOpen() || fstat(opened.get(), &status) != 0) return errno;
  Level* level = new Level{name, status.st_dev, status.st_ino, StringDeque(), false};
  levels_.add(level);
  current_ = std::move(opened);
  path_ = below(path_, name.c_str());
  removeEntries(*level);
  return 0;
}

void TreeRemoval::removeEntries(Level& level) {
  DirectoryStream stream(current_.get());
  for (;;) {
    errno = 0;
    const dirent* entry = stream.get() ? readdir(stream.get()) : nullptr;
    if (!entry) {
      // What could not be read stays; the directory's removal will fail
      // and say so, and this tells why.
      if (errno != 0) log("Could not read the directory " + path_ + " :  " + std::strerror(errno), WARNING);
      return;
    }
    if (isDotOrDotDot(entry->d_name)) continue;
    if (isDirectoryEntry(current_.get(), entry)) {
      level.subdirectories.add(entry->d_name);
    } else {
      removeFile(current_.get(), entry->d_name);
    }
  }
}

bool TreeRemoval::removeFile(int directory, const char* name) {
  if (unlinkat(directory, name, 0) == 0 || errno == ENOENT) return true;
  warn(below(path_, name), errno);
  return false;
}

// A subdirectory that could not be opened: gone meanwhile, replaced by a
// link or a file (removed itself), or not to be read, which leaves it only
// when it is empty.
bool TreeRemoval::removeUnopened(int directory, const SString& name, int openError) {
  if (openError == ENOENT) return true;
  if (openError == ELOOP || openError == ENOTDIR) return removeFile(directory, name.c_str());
  return removeDirectory(directory, name, openError);
}

bool TreeRemoval::removeDirectory(int directory, const SString& name, int openError) {
  if (unlinkat(directory, name.c_str(), AT_REMOVEDIR) == 0 || errno == ENOENT) return true;
  int error = errno;
  // Why a directory could not be emptied tells more than that it is not
  // empty.
  if (openError != 0 && (error == ENOTEMPTY || error == EEXIST)) error = openError;
  SString path = below(path_, name.c_str());
  warn(path, error);
  failed_.add(path);
  return false;
}

FileDescriptor TreeRemoval::openAbove() {
  const Level& above = *levels_.get(levels_.count() - 2);
  FileDescriptor up(openat(current_.get(), "..", O_RDONLY | O_DIRECTORY | O_CLOEXEC));
  if (up.isOpen() && isLevel(up.get(), above)) return up;
  FileDescriptor step;
  int from = startParent_;
  for (int i = 0; i < levels_.count() - 1; ++i) {
    const Level& level = *levels_.get(i);
    FileDescriptor next(openat(from, level.name.c_str(), kOpenDirectory));
    if (!next.isOpen() || !isLevel(next.get(), level)) return FileDescriptor();
    step = std::move(next);
    from = step.get();
  }
  return step;
}

}  // namespace

bool DeleteFullDir::remove(const SString& start) {
  failed_.removeAll();
  SString path = start;
  while (path.length() > 1 && endsWith(path, "/") != SString::npos) path.erase(path.length() - 1);
  const SString::size_type cut = path.rfind('/');
  const SString parentPath = cut == SString::npos ? SString() : cut == 0 ? SString("/") : path.substr(0, cut);
  const SString name = cut == SString::npos ? path : path.substr(cut + 1);
  // "." and ".." would lead the removal out of the tree it was given, and
  // "/" is in no directory.
  if (name.empty() || name == "." || name == "..") {
    warn(path, EINVAL);
    return false;
  }
  // The directories above the start are the caller's to name: they may be
  // reached through links.
  FileDescriptor parent(open(parentPath.empty() ? "." : parentPath.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
  struct stat status;
  if (!parent.isOpen() || fstatat(parent.get(), name.c_str(), &status, AT_SYMLINK_NOFOLLOW) != 0) {
    if (errno == ENOENT) return true;
    warn(path, errno);
    return false;
  }
  if (!S_ISDIR(status.st_mode)) {
    if (unlinkat(parent.get(), name.c_str(), 0) == 0 || errno == ENOENT) return true;
    warn(path, errno);
    return false;
  }
  TreeRemoval removal(parent.get(), parentPath, failed_);
  return removal.run(name);
}
