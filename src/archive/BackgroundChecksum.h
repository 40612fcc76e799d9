// The checksum of a stretch of a file, read and computed by a process of
// its own. Extraction lets the kernel copy a large entry (one copy, inside
// the kernel) while this process reads the same bytes from the page cache
// and checks them; on two cores the check then costs little, where passing
// every byte through the copy's own buffer costs a second copy. A forked
// process rather than a thread: the static C library's thread start brings
// a tenth of the launcher program's size with it.
#pragma once

#include <sys/types.h>

#include <cstdint>

#include "base/OpenFiles.h"

class BackgroundChecksum {
 public:
  BackgroundChecksum() = default;
  // Ends and reaps the process when no result was taken.
  ~BackgroundChecksum();
  BackgroundChecksum(const BackgroundChecksum&) = delete;
  BackgroundChecksum& operator=(const BackgroundChecksum&) = delete;

  // Starts checking the bytes of fd from `from` up to `to`. False when no
  // process can be had (a limit on processes, a filter): the caller then
  // checks the bytes itself.
  bool start(int fd, off_t from, off_t to);
  // Waits for the result. False when the bytes could not all be read (the
  // file ends early or a read failed); otherwise value is their CRC-32C.
  bool finish(uint32_t& value);

 private:
  pid_t child_ = -1;
  FileDescriptor answer_;
};
