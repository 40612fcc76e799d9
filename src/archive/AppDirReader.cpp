#include "archive/AppDirReader.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <utility>

#include "archive/AppDirFormat.h"
#include "archive/WriteError.h"
#include "base/LauncherException.h"
#include "base/Termination.h"

namespace {

uint32_t bigEndian(const std::string& bytes) {
  uint32_t value = 0;
  for (unsigned char c : bytes) value = value << 8 | c;
  return value;
}

}  // namespace

SString appDirNameProblem(const std::string& name) {
  if (name.empty()) return "the name is empty";
  if (name.size() > kAppDirMaxNameLength) return "the name is too long";
  if (name[0] == '/') return "the name is absolute";
  if (name.find('\0') != std::string::npos) return "the name holds a NUL byte";
  for (std::string::size_type start = 0;;) {
    std::string::size_type slash = name.find('/', start);
    std::string part = name.substr(start, slash == std::string::npos ? std::string::npos : slash - start);
    if (part.empty()) return "the name has an empty part";
    if (part == "." || part == "..") return "the name has a \".\" or \"..\" part";
    if (part.size() > 255) return "a part of the name is too long";
    if (slash == std::string::npos) return SString();
    start = slash + 1;
  }
}

AppDirReader::AppDirReader(const SString& directory, uint32_t fileCount, uint32_t size)
    : directory_(directory),
      root_(directory.empty() ? -1 : ::open(directory.c_str(), O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC)),
      filesLeft_(fileCount),
      bytesLeft_(size),
      needed_(sizeof kAppDirMagic) {
  if (!directory.empty() && !root_.isOpen()) throw writeFailure(directory, errno);
}

void AppDirReader::invalid(const SString& what) const {
  throw LauncherException("Invalid application directory" + (directory_.empty() ? SString() : " " + directory_) + ": " +
                          what + ".");
}

void AppDirReader::write(const unsigned char* bytes, size_t count) {
  CheckTermination();
  while (count > 0) {
    if (state_ == kEnded) invalid("bytes follow its end record");
    if (state_ == kData) {
      size_t step = count < dataLeft_ ? count : dataLeft_;
      writeData(bytes, step);
      bytes += step;
      count -= step;
      continue;
    }
    size_t step = needed_ - field_.size();
    if (step > count) step = count;
    field_.append(reinterpret_cast<const char*>(bytes), step);
    bytes += step;
    count -= step;
    if (field_.size() == needed_) fieldComplete();
  }
}

// One fixed or announced field is complete in field_; decides what comes
// next.
void AppDirReader::fieldComplete() {
  std::string field;
  field.swap(field_);
  switch (state_) {
    case kMagic:
      if (std::memcmp(field.data(), kAppDirMagic, sizeof kAppDirMagic) != 0) invalid("it does not start as one");
      state_ = kKind;
      needed_ = 1;
      return;
    case kKind:
      kind_ = static_cast<unsigned char>(field[0]);
      if (kind_ == kAppDirEnd) {
        state_ = kEnded;
        return;
      }
      if (kind_ != kAppDirDirectory && kind_ != kAppDirFile && kind_ != kAppDirExecutable) {
        invalid("it holds a record of unknown kind " + fromLong(kind_) + " (only directories and files are unpacked)");
      }
      state_ = kNameLength;
      needed_ = 2;
      return;
    case kNameLength:
      needed_ = bigEndian(field);
      if (needed_ == 0 || needed_ > kAppDirMaxNameLength) invalid("a name of " + fromLong(long(needed_)) + " bytes");
      state_ = kName;
      return;
    case kName:
      name_ = field;
      startRecord();
      return;
    case kSize:
      dataLeft_ = bigEndian(field);
      if (dataLeft_ > bytesLeft_) invalid("it holds more bytes than the launcher's index announces");
      bytesLeft_ -= dataLeft_;
      openFile();
      state_ = kData;
      if (dataLeft_ == 0) writeData(nullptr, 0);
      return;
    default:
      return;
  }
}

void AppDirReader::startRecord() {
  SString problem = appDirNameProblem(name_);
  if (!problem.empty()) invalid("\"" + SString(name_.c_str()) + "\": " + problem);
  std::string::size_type slash = name_.rfind('/');
  if (slash != std::string::npos && directories_.count(name_.substr(0, slash)) == 0) {
    invalid("\"" + SString(name_.c_str()) + "\" comes before its directory");
  }
  if (!names_.insert(name_).second) invalid("\"" + SString(name_.c_str()) + "\" is given twice");
  if (filesLeft_ == 0) invalid("it holds more files than the launcher's index announces");
  --filesLeft_;
  if (kind_ == kAppDirDirectory) {
    // mkdirat neither follows nor replaces what is there.
    if (root_.isOpen() &&
        (::mkdirat(root_.get(), name_.c_str(), 0700) != 0 || ::fchmodat(root_.get(), name_.c_str(), 0700, 0) != 0)) {
      throw writeFailure(directory_ + "/" + name_.c_str(), errno);
    }
    directories_.insert(name_);
    state_ = kKind;
    needed_ = 1;
    return;
  }
  state_ = kSize;
  needed_ = 4;
}

// Created exclusively and without following a link: a name that already
// stands for anything is refused rather than written through.
void AppDirReader::openFile() {
  if (!root_.isOpen()) return;
  const mode_t mode = kind_ == kAppDirExecutable ? 0700 : 0600;
  FileDescriptor file(::openat(root_.get(), name_.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, mode));
  if (!file.isOpen() || ::fchmod(file.get(), mode) != 0) {
    int error = errno;
    throw writeFailure(directory_ + "/" + name_.c_str(), error);
  }
  file_ = std::move(file);
}

void AppDirReader::writeData(const unsigned char* bytes, size_t count) {
  for (size_t written = 0; file_.isOpen() && written < count;) {
    ssize_t n = ::write(file_.get(), bytes + written, count - written);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) throw writeFailure(directory_ + "/" + name_.c_str(), n == 0 ? ENOSPC : errno);
    written += static_cast<size_t>(n);
  }
  dataLeft_ -= static_cast<uint32_t>(count);
  if (dataLeft_ > 0) return;
  if (file_.isOpen() && file_.close() != 0) throw writeFailure(directory_ + "/" + name_.c_str(), errno);
  state_ = kKind;
  needed_ = 1;
}

void AppDirReader::finish() {
  if (state_ != kEnded) invalid("it is cut short");
}
