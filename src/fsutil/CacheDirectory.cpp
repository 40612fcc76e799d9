#include "fsutil/CacheDirectory.h"

#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <climits>
#include <cstdlib>
#include <cstring>

#include "base/Log.h"
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

// Only its owner (the user or root) can change what a directory holds, or
// it is sticky and nobody can take away or replace another's entries.
bool heldByOwner(const struct stat& st, uid_t user) {
  if (st.st_uid != user && st.st_uid != 0) return false;
  return (st.st_mode & (S_IWGRP | S_IWOTH)) == 0 || (st.st_mode & S_ISVTX) != 0;
}

// Resolved, the directory and every one above it are held by their owners;
// otherwise names the first that is not.
bool wayHeldByOwners(const SString& directory, uid_t user, SString& culprit) {
  char* resolved = realpath(directory.c_str(), nullptr);
  if (resolved == nullptr) {
    culprit = directory;
    return false;
  }
  SString path(resolved);
  std::free(resolved);
  for (SString::size_type end = path.length(); end != SString::npos && end > 0; end = path.rfind('/', end - 1)) {
    SString part = path.substr(0, end);
    struct stat st;
    if (lstat(part.c_str(), &st) != 0 || !heldByOwner(st, user)) {
      culprit = part;
      return false;
    }
  }
  return true;
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
  if (!wayHeldByOwners(existingPart(wanted), user, culprit)) {
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
  for (SString::size_type slash = path.rfind('/'); slash != SString::npos && slash > 0;
       slash = path.rfind('/', slash - 1)) {
    SString parent = path.substr(0, slash);
    if (lstat(parent.c_str(), &st) != 0 || !heldByOwner(st, user)) {
      log("The directory " + path + " is not used: " + parent + " may be changed by another user.", WARNING);
      return SString();
    }
  }
  return path;
}
