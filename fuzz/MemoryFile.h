// A file that lives in memory but has a path, for code that opens files by
// name (the launcher reads its own executable by its path, TagFile::write
// takes a path). Nothing reaches the disk, and each input
// costs no directory entry.
#pragma once

#include <sys/mman.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <string>

class MemoryFile {
 public:
  MemoryFile() : fd_(memfd_create("lxfuzz", 0)) {
    if (fd_ < 0) {
      std::perror("memfd_create");
      std::abort();
    }
    path_ = "/proc/self/fd/" + std::to_string(fd_);
  }
  ~MemoryFile() { close(fd_); }
  MemoryFile(const MemoryFile&) = delete;
  MemoryFile& operator=(const MemoryFile&) = delete;

  const std::string& path() const { return path_; }

  // Makes the file hold exactly these bytes.
  void assign(const void* bytes, size_t size) {
    if (ftruncate(fd_, 0) != 0 || pwrite(fd_, bytes, size, 0) != static_cast<ssize_t>(size)) {
      std::perror("writing the memory file");
      std::abort();
    }
  }

 private:
  int fd_;
  std::string path_;
};
