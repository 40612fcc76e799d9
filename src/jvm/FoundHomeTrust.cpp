#include "jvm/FoundHomeTrust.h"

#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>

#include "fsutil/DirectoryTrust.h"

namespace {

bool trustedOwner(uid_t owner) { return owner == 0 || owner == geteuid(); }

SString wayReason(const SString& file) {
  SString::size_type slash = file.rfind('/');
  if (slash == SString::npos) return SString();
  SString culprit;
  return WhyOthersCanChange(slash == 0 ? SString("/") : file.substr(0, slash), geteuid(), culprit);
}

}  // namespace

SString distrustReason(const SString& executable) {
  struct stat st;
  if (stat(executable.c_str(), &st) != 0) {
    // A path that is not there cannot be run either; the verification
    // says so in its own words.
    if (errno == ENOENT || errno == ENOTDIR) return SString();
    return executable + " cannot be examined: " + SString(std::strerror(errno));
  }
  if (!trustedOwner(st.st_uid)) return executable + " belongs to user " + fromLong(static_cast<long>(st.st_uid));
  if ((st.st_mode & (S_IWGRP | S_IWOTH)) != 0) return executable + " is writable by group or others";
  // The directories on the way to it, as found and to where a link named
  // java leads, follow the rule every place the launcher runs programs
  // from follows, temporary directories included.
  SString reason = wayReason(executable);
  if (!reason.empty()) return reason;
  char* resolved = realpath(executable.c_str(), nullptr);
  if (resolved == nullptr) return executable + " cannot be resolved: " + SString(std::strerror(errno));
  SString real(resolved);
  std::free(resolved);
  return real == executable ? SString() : wayReason(real);
}
