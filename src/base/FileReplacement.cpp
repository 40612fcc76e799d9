#include "base/FileReplacement.h"

#include <fcntl.h>
#include <stdlib.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <vector>

FileReplacement::FileReplacement(const SString& target, const char* infix) : target_(target) {
  const SString pattern = target + infix + "XXXXXX";
  std::vector<char> name(pattern.c_str(), pattern.c_str() + pattern.length() + 1);
  int fd = mkostemp(name.data(), O_CLOEXEC);
  if (fd < 0) return;
  stream_ = fdopen(fd, "wb");
  if (stream_ == nullptr) {
    int error = errno;
    close(fd);
    unlink(name.data());
    errno = error;
    return;
  }
  path_ = name.data();
}

FileReplacement::~FileReplacement() {
  int error = errno;
  if (stream_ != nullptr) std::fclose(stream_);
  if (!committed_ && !path_.empty()) unlink(path_.c_str());
  errno = error;
}

bool FileReplacement::finish(mode_t mode) {
  bool done = std::fflush(stream_) == 0 && fchmod(fileno(stream_), mode) == 0;
  int error = errno;
  if (std::fclose(stream_) != 0 && done) {
    done = false;
    error = errno;
  }
  stream_ = nullptr;
  errno = error;
  return done;
}

bool FileReplacement::commit() {
  if (rename(path_.c_str(), target_.c_str()) != 0) return false;
  committed_ = true;
  return true;
}
