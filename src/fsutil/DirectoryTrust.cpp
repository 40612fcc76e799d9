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

// The directory's links are resolved first (into resolved); then each
// directory of the way, which holds no links any more, is examined as it
// is, from the directory itself up to the root. The first one must be the
// user's own, with mode 0700, when ownPrivate says so.
SString whyWayIsOpen(const SString& directory, uid_t user, bool ownPrivate, SString& resolved, SString& culprit) {
  char* path = realpath(directory.c_str(), nullptr);
  if (path == nullptr) {
    resolved = SString();
    culprit = directory;
    return said(directory, " cannot be resolved: ", std::strerror(errno));
  }
  resolved = path;
  std::free(path);
  for (SString part = resolved;; ownPrivate = false) {
    struct stat st;
    SString why;
    if (lstat(part.c_str(), &st) != 0) {
      why = said(part, " cannot be examined: ", std::strerror(errno));
    } else if (ownPrivate && (st.st_uid != user || (st.st_mode & 07777) != 0700)) {
      why = said(part, " is not the user's own with mode 0700", "");
    } else if (st.st_uid != user && st.st_uid != 0) {
      why = said(part, " belongs to user ", fromLong(static_cast<long>(st.st_uid)).c_str());
    } else if ((st.st_mode & (S_IWGRP | S_IWOTH)) != 0 && (st.st_mode & S_ISVTX) == 0) {
      why = said(part, " may be written by group or others and has no sticky bit", "");
    }
    if (!why.empty()) {
      culprit = part;
      return why;
    }
    if (part == "/") return SString();
    SString::size_type slash = part.rfind('/');
    part = slash == 0 || slash == SString::npos ? SString("/") : part.substr(0, slash);
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
