// Real-file-system situations the fsutil tests need and that are awkward to
// make, especially as root: directories the process may not read or change,
// mounted file systems, the lines of the log.
#pragma once

#include <dirent.h>
#include <linux/capability.h>
#include <sys/mount.h>
#include <sys/stat.h>
#include <sys/syscall.h>
#include <unistd.h>

#include <fstream>
#include <string>
#include <vector>

#include "base/Log.h"

// Root passes every permission check through CAP_DAC_OVERRIDE and
// CAP_DAC_READ_SEARCH, so chmod alone cannot make a directory unreadable
// to it. This drops both from the effective set for the object's lifetime;
// they stay permitted and are raised again at the end. For other users it
// changes nothing: the mode bits bind them anyway.
class PermissionChecksEnforced {
 public:
  PermissionChecksEnforced() {
    header_.version = _LINUX_CAPABILITY_VERSION_3;
    header_.pid = 0;
    if (syscall(SYS_capget, &header_, saved_) != 0) return;
    __user_cap_data_struct reduced[2] = {saved_[0], saved_[1]};
    reduced[0].effective &= ~((1u << CAP_DAC_OVERRIDE) | (1u << CAP_DAC_READ_SEARCH));
    dropped_ = syscall(SYS_capset, &header_, reduced) == 0;
  }
  ~PermissionChecksEnforced() {
    if (dropped_) syscall(SYS_capset, &header_, saved_);
  }
  PermissionChecksEnforced(const PermissionChecksEnforced&) = delete;
  PermissionChecksEnforced& operator=(const PermissionChecksEnforced&) = delete;

  // Whether a directory with mode 000 really cannot be opened now.
  static bool holdFor(const std::string& lockedDir) {
    DIR* d = opendir(lockedDir.c_str());
    if (d) closedir(d);
    return d == nullptr;
  }

 private:
  __user_cap_header_struct header_;
  __user_cap_data_struct saved_[2] = {};
  bool dropped_ = false;
};

// A file system mounted on a directory for the object's lifetime. Mounting
// needs privileges that not every test environment grants; ok() tells.
class Mount {
 public:
  Mount(const std::string& type, const std::string& target, unsigned long flags = 0)
      : target_(target), ok_(mount(type.c_str(), target.c_str(), type.c_str(), flags, nullptr) == 0) {}
  ~Mount() {
    if (ok_) umount2(target_.c_str(), MNT_DETACH);
  }
  Mount(const Mount&) = delete;
  Mount& operator=(const Mount&) = delete;

  bool ok() const { return ok_; }

 private:
  std::string target_;
  bool ok_;
};

// Sends the log to a file for the object's lifetime and reads it back.
class CapturedLog {
 public:
  explicit CapturedLog(const std::string& path) : path_(path) { setLogFile(path.c_str()); }
  ~CapturedLog() { setLogFile(""); }
  CapturedLog(const CapturedLog&) = delete;
  CapturedLog& operator=(const CapturedLog&) = delete;

  // Every line but the once-per-process separator.
  std::vector<std::string> lines() const {
    std::vector<std::string> result;
    std::ifstream in(path_);
    std::string line;
    while (std::getline(in, line)) {
      if (line != "------------------") result.push_back(line);
    }
    return result;
  }

 private:
  std::string path_;
};

inline void MakeDirs(const std::string& path) {
  for (std::string::size_type slash = path.find('/', 1);; slash = path.find('/', slash + 1)) {
    mkdir(path.substr(0, slash).c_str(), 0755);
    if (slash == std::string::npos) return;
  }
}

// Creates a small file, and the directories above it.
inline std::string Touch(const std::string& path) {
  MakeDirs(path.substr(0, path.rfind('/')));
  std::ofstream(path) << "x";
  return path;
}

inline bool PathExists(const std::string& path) {
  struct stat status;
  return lstat(path.c_str(), &status) == 0;
}
