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

// The way as it was given, from the directory up to the root: a link on
// it lies in a directory that must be closed to others too, or they could
// point it elsewhere. Only absolute ways are walked so; the resolved way
// is examined in any case.
SString whyWrittenWayIsOpen(const SString& directory, uid_t user, SString& culprit) {
  if (directory.empty() || directory[0] != '/') return SString();
  for (SString part = directory;; part = parentOf(part)) {
    struct stat st;
    SString why = stat(part.c_str(), &st) != 0 ? said(part, " cannot be examined: ", std::strerror(errno))
                                               : whyDirectoryIsOpen(part, st, user, false);
    if (!why.empty()) {
      culprit = part;
      return why;
    }
    if (part == "/") return SString();
  }
}

// The way as written first, then with its links resolved (into resolved):
// each directory of that way, which holds no links any more, is examined
// as it is, from the directory itself up to the root. The first one must
// be the user's own, with mode 0700, when ownPrivate says so.
SString whyWayIsOpen(const SString& directory, uid_t user, bool ownPrivate, SString& resolved, SString& culprit) {
  char* path = realpath(directory.c_str(), nullptr);
  if (path == nullptr) {
    resolved = SString();
    culprit = directory;
    return said(directory, " cannot be resolved: ", std::strerror(errno));
  }
  resolved = path;
  std::free(path);
  if (resolved != directory) {
    SString why = whyWrittenWayIsOpen(directory, user, culprit);
    if (!why.empty()) return why;
  }
  for (SString part = resolved;; ownPrivate = false, part = parentOf(part)) {
    struct stat st;
    SString why = lstat(part.c_str(), &st) != 0 ? said(part, " cannot be examined: ", std::strerror(errno))
                                                : whyDirectoryIsOpen(part, st, user, ownPrivate);
    if (!why.empty()) {
      culprit = part;
      return why;
    }
    if (part == "/") return SString();
  }
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
