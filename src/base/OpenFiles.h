// Owners of open files: the stream or descriptor is closed when its owner
// goes out of scope, also when an exception passes through, so no caller
// writes its own clean-up for that. Where the result of closing matters (a
// written file, whose last bytes some file systems only refuse then), the
// owner closes explicitly and reports it.
#pragma once

#include <unistd.h>

#include <cstdio>
#include <memory>

struct StreamCloser {
  void operator()(FILE* stream) const { std::fclose(stream); }
};

// A stream from fopen; null when the open failed.
class FileStream : public std::unique_ptr<FILE, StreamCloser> {
 public:
  explicit FileStream(FILE* stream) : std::unique_ptr<FILE, StreamCloser>(stream) {}
  // Closes now; 0 when every byte was accepted, else EOF with errno set.
  int close() { return std::fclose(release()); }
};

// A descriptor from open; negative when the open failed or nothing is held.
// Moving hands the descriptor on: the owner moved from holds -1, so exactly
// one owner closes it.
class FileDescriptor {
 public:
  explicit FileDescriptor(int fd = -1) : fd_(fd) {}
  ~FileDescriptor() {
    if (fd_ >= 0) ::close(fd_);
  }
  FileDescriptor(const FileDescriptor&) = delete;
  FileDescriptor& operator=(const FileDescriptor&) = delete;
  FileDescriptor(FileDescriptor&& other) noexcept : fd_(other.fd_) { other.fd_ = -1; }
  FileDescriptor& operator=(FileDescriptor&& other) noexcept {
    if (this != &other) {
      if (fd_ >= 0) ::close(fd_);
      fd_ = other.fd_;
      other.fd_ = -1;
    }
    return *this;
  }
  int get() const { return fd_; }
  bool isOpen() const { return fd_ >= 0; }
  // Closes now; the result tells whether the kernel accepted every byte,
  // which some file systems only report here.
  int close() {
    int result = ::close(fd_);
    fd_ = -1;
    return result;
  }

 private:
  int fd_;
};
