#include "AtomicOutput.h"

#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <vector>

#include "SignalCleanup.h"
#include "Usage.h"

namespace {

std::string systemError() { return std::strerror(errno); }

}  // namespace

AtomicOutput::AtomicOutput(const std::string& target) : target_(target) {
  std::vector<char> name(target.begin(), target.end());
  const char suffix[] = ".lxpack-XXXXXX";
  name.insert(name.end(), suffix, suffix + sizeof suffix);
  if (name.size() > 4096) throw PackError("output path too long: " + target);
  int fd = ::mkstemp(name.data());
  if (fd < 0) throw PackError("cannot create a temporary file beside " + target + ": " + systemError());
  temporaryPath_ = name.data();
  try {
    removeOnSignal(temporaryPath_);
  } catch (const PackError&) {
    ::close(fd);
    ::unlink(temporaryPath_.c_str());
    throw;
  }
  stream_ = ::fdopen(fd, "wb");
  if (!stream_) {
    ::close(fd);
    throw PackError("cannot write " + temporaryPath_ + ": " + systemError());
  }
}

AtomicOutput::~AtomicOutput() {
  if (stream_) std::fclose(stream_);
  if (!committed_) ::unlink(temporaryPath_.c_str());
  keepOnSignal(temporaryPath_);
}

void AtomicOutput::finish(mode_t mode) {
  bool written = std::fflush(stream_) == 0 && ::fchmod(::fileno(stream_), mode) == 0;
  std::string error = written ? "" : systemError();
  if (std::fclose(stream_) != 0 && written) error = systemError(), written = false;
  stream_ = nullptr;
  if (!written) throw PackError("cannot write " + temporaryPath_ + ": " + error);
}

void AtomicOutput::commit() {
  if (::rename(temporaryPath_.c_str(), target_.c_str()) != 0) {
    throw PackError("cannot rename " + temporaryPath_ + " to " + target_ + ": " + systemError());
  }
  committed_ = true;
}
