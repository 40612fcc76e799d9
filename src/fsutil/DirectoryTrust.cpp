#include "fsutil/DirectoryTrust.h"

#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>

namespace {

// The path and what is wrong with it, in words for the log.
SString said(const SString& path, const char* what, const char* detail) {
  SString text(path);
  text += what;
  text += detail;
  return text;
}

// What is wrong with one directory of a way, examined with lstat (it holds
// no links any more) or stat (as written, a link taken for what it leads
// to: whoever can change the directory holding the link is caught one
// step up).
SString whyDirectoryIsOpen(const SString& part, const struct stat& st, uid_t user, bool ownPrivate) {
  if (ownPrivate && (st.st_uid != user || (st.st_mode & 07777) != 0700)) {
    return said(part, " is not the user's own with mode 0700", "");
  }
  if (st.st_uid != user && st.st_uid != 0) {
    return said(part, " belongs to user ", fromLong(static_cast<long>(st.st_uid)).c_str());
  }
  if ((st.st_mode & (S_IWGRP | S_IWOTH)) != 0 && (st.st_mode & S_ISVTX) == 0) {
    return said(part, " may be written by group or others and has no sticky bit", "");
  }
  return SString();
}

SString parentOf(const SString& part) {
  SString::size_type slash = part.rfind('/');
  return slash == 0 || slash == SString::npos ? SString("/") : part.substr(0, slash);
}

// Each directory from start up to the root, examined with examine: stat
// on the way as it was given (a link on it lies in a directory that must
// be closed to others too, or they could point it elsewhere), lstat on
// the resolved way, which holds no links any more. The first one must be
// the user's own, with mode 0700, when ownPrivate says so.
SString whyWayUpIsOpen(const SString& start, uid_t user, bool ownPrivate, int (*examine)(const char*, struct stat*),
                       SString& culprit) {
  for (SString part = start;; ownPrivate = false, part = parentOf(part)) {
    struct stat st;
    SString why = examine(part.c_str(), &st) != 0 ? said(part, " cannot be examined: ", std::strerror(errno))
                                                  : whyDirectoryIsOpen(part, st, user, ownPrivate);
    if (!why.empty()) {
      culprit = part;
      return why;
    }
    if (part == "/") return SString();
  }
}

// The way as written first (only an absolute one is walked so), then with
// its links resolved (into resolved).
SString whyWayIsOpen(const SString& directory, uid_t user, bool ownPrivate, SString& resolved, SString& culprit) {
  char* path = realpath(directory.c_str(), nullptr);
  if (path == nullptr) {
    resolved = SString();
    culprit = directory;
    return said(directory, " cannot be resolved: ", std::strerror(errno));
  }
  resolved = path;
  std::free(path);
  if (resolved != directory && !directory.empty() && directory[0] == '/') {
    SString why = whyWayUpIsOpen(directory, user, false, stat, culprit);
    if (!why.empty()) return why;
  }
  return whyWayUpIsOpen(resolved, user, ownPrivate, lstat, culprit);
}

}  // namespace

SString WhyOthersCanChange(const SString& directory, uid_t user, SString& culprit) {
  SString resolved;
  return whyWayIsOpen(directory, user, false, resolved, culprit);
}

SString WhyTempPlaceIsRefused(const SString& dir, TempPlaceKind kind, SString& resolved) {
  // Another user's runtime directory is kept in the environment by a plain
  // su: its owner could swap what root runs from it. Only the user's own
  // counts, root's only for root.
  SString culprit;
  SString why = whyWayIsOpen(dir, geteuid(), kind == TempPlaceKind::RuntimeDirectory, resolved, culprit);
  // access, not faccessat with AT_EACCESS: the launcher's real and
  // effective users are the same, access is in every kernel, and it tells a
  // read-only file system, which a check of the mode bits alone would miss.
  if (why.empty() && access(resolved.c_str(), W_OK | X_OK) != 0) {
    why = said(resolved, " cannot be written: ", std::strerror(errno));
  }
  return why;
}
