#include "fsutil/CacheDirectory.h"

#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <climits>
#include <cstdlib>
#include <cstring>

#include "base/Log.h"
#include "fsutil/DirectoryTrust.h"
#include "fsutil/Platform.h"

namespace {

// Creates every missing directory of path, new ones private to the owner.
bool makeDirectories(const SString& path) {
  for (SString::size_type slash = path.find('/', 1);; slash = path.find('/', slash + 1)) {
    SString prefix = path.substr(0, slash);
    if (mkdir(prefix.c_str(), 0700) != 0 && errno != EEXIST) return false;
    if (slash == SString::npos) return true;
  }
}

// The deepest part of an absolute path that exists already.
SString existingPart(const SString& path) {
  SString part = path;
  struct stat st;
  while (part.length() > 1 && stat(part.c_str(), &st) != 0) {
    SString::size_type slash = part.rfind('/');
    part = slash == 0 || slash == SString::npos ? SString("/") : part.substr(0, slash);
  }
  return part;
}

}  // namespace

SString PrivateCacheDirectory(const char* name) {
  SString base = GetEnv("XDG_CACHE_HOME");
  // Relative values are to be ignored, as the base directory rules say.
  if (base.empty() || base[0] != '/') {
    SString home = GetEnv("HOME");
    if (home.empty() || home[0] != '/') return SString();
    base = home + "/.cache";
  }
  SString wanted = base + "/lxlauncher";
  if (name != nullptr && name[0] != '\0') wanted += SString("/") + name;
  // Nothing is made where another user could change the way, through a
  // link of theirs or a directory they may write: what exists of the way is
  // checked before the rest is made.
  const uid_t user = geteuid();
  SString culprit;
  if (!WhyOthersCanChange(existingPart(wanted), user, culprit).empty()) {
    log("The directory " + wanted + " is not used: " + culprit + " may be changed by another user.", WARNING);
    return SString();
  }
  if (!makeDirectories(wanted)) {
    log("No private directory " + wanted + " can be made: " + SString(std::strerror(errno)), WARNING);
    return SString();
  }
  char* resolved = realpath(wanted.c_str(), nullptr);
  if (resolved == nullptr) return SString();
  SString path(resolved);
  std::free(resolved);
  struct stat st;
  if (lstat(path.c_str(), &st) != 0 || !S_ISDIR(st.st_mode) || st.st_uid != user ||
      ((st.st_mode & 077) != 0 && chmod(path.c_str(), 0700) != 0)) {
    log("The directory " + path + " is not a private directory of this user; it is not used.", WARNING);
    return SString();
  }
  if (!WhyOthersCanChange(path, user, culprit).empty()) {
    log("The directory " + path + " is not used: " + culprit + " may be changed by another user.", WARNING);
    return SString();
  }
  return path;
}
