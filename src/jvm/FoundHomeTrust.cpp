#include "jvm/FoundHomeTrust.h"

#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <climits>
#include <cstdlib>
#include <cstring>

namespace {

bool trustedOwner(uid_t owner) { return owner == 0 || owner == geteuid(); }

SString ownerReason(const SString& path, uid_t owner) {
  return path + " belongs to user " + fromLong(static_cast<long>(owner));
}

// A path that is not there cannot be run either; the verification says
// so in its own words.
SString statFailure(const SString& path) {
  if (errno == ENOENT || errno == ENOTDIR) return SString();
  return path + " cannot be examined: " + SString(std::strerror(errno));
}

// The file and every directory up to the root.
SString pathReason(const SString& file) {
  struct stat st;
  if (stat(file.c_str(), &st) != 0) return statFailure(file);
  if (!trustedOwner(st.st_uid)) return ownerReason(file, st.st_uid);
  if ((st.st_mode & (S_IWGRP | S_IWOTH)) != 0) return file + " is writable by group or others";
  SString directory = file;
  for (;;) {
    SString::size_type slash = directory.rfind('/');
    if (slash == SString::npos) return SString();
    directory = slash == 0 ? SString("/") : directory.substr(0, slash);
    if (stat(directory.c_str(), &st) != 0) return statFailure(directory);
    if (!trustedOwner(st.st_uid)) return ownerReason(directory, st.st_uid);
    if ((st.st_mode & (S_IWGRP | S_IWOTH)) != 0 && (st.st_mode & S_ISVTX) == 0) {
      return directory + " is writable by group or others";
    }
    if (directory == "/") return SString();
  }
}

}  // namespace

SString distrustReason(const SString& executable) {
  SString reason = pathReason(executable);
  if (!reason.empty()) return reason;
  char* resolved = realpath(executable.c_str(), nullptr);
  if (resolved == nullptr) return statFailure(executable);
  SString real(resolved);
  std::free(resolved);
  return real == executable ? SString() : pathReason(real);
}
