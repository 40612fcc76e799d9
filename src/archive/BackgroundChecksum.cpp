#include "archive/BackgroundChecksum.h"

#include <fcntl.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <utility>

#include "archive/Crc32c.h"

namespace {

// Large enough that the reads cost little, small enough to stay in the
// processor's cache while the checksum runs over it.
const size_t kReadSize = 256 * 1024;

// The child's whole work: the checksum of the bytes, sent as a 1 (all
// read) or 0 and the four bytes of the value. It touches nothing of the
// launcher's state and leaves with _exit, so no clean-up of the launcher's
// runs twice.
[[noreturn]] void checkAndAnswer(int fd, off_t from, off_t to, int answer) {
  const int kEndingSignals[] = {SIGTERM, SIGINT, SIGHUP, SIGQUIT, SIGPIPE};
  for (int signal : kEndingSignals) ::signal(signal, SIG_DFL);
  // The launcher is one thread, so its malloc is safe to use in the child.
  unsigned char* buffer = static_cast<unsigned char*>(std::malloc(kReadSize));
  if (buffer == nullptr) ::_exit(1);
  Crc32c checksum;
  off_t position = from;
  while (position < to) {
    size_t left = static_cast<size_t>(to - position);
    ssize_t got = ::pread(fd, buffer, left < kReadSize ? left : kReadSize, position);
    if (got < 0 && errno == EINTR) continue;
    if (got <= 0) break;
    checksum.update(buffer, static_cast<size_t>(got));
    position += got;
  }
  unsigned char message[5] = {static_cast<unsigned char>(position == to ? 1 : 0)};
  uint32_t value = checksum.value();
  std::memcpy(message + 1, &value, sizeof value);
  ssize_t ignored = ::write(answer, message, sizeof message);
  (void)ignored;
  ::_exit(0);
}

}  // namespace

BackgroundChecksum::~BackgroundChecksum() {
  if (child_ > 0) {
    ::kill(child_, SIGKILL);
    while (::waitpid(child_, nullptr, 0) < 0 && errno == EINTR) {
    }
  }
}

bool BackgroundChecksum::start(int fd, off_t from, off_t to) {
  int pipeEnds[2];
  if (::pipe2(pipeEnds, O_CLOEXEC) != 0) return false;
  FileDescriptor readEnd(pipeEnds[0]), writeEnd(pipeEnds[1]);
  child_ = ::fork();
  if (child_ == 0) {
    readEnd = FileDescriptor();
    checkAndAnswer(fd, from, to, writeEnd.get());
  }
  // The launcher's write end goes in any case: a child that ends without
  // answering then shows as the end of the pipe.
  if (child_ < 0) return false;
  answer_ = std::move(readEnd);
  return true;
}

bool BackgroundChecksum::finish(uint32_t& value) {
  unsigned char message[5];
  size_t got = 0;
  while (got < sizeof message) {
    ssize_t n = ::read(answer_.get(), message + got, sizeof message - got);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) break;
    got += static_cast<size_t>(n);
  }
  while (::waitpid(child_, nullptr, 0) < 0 && errno == EINTR) {
  }
  child_ = -1;
  answer_ = FileDescriptor();
  if (got < sizeof message || message[0] != 1) return false;
  std::memcpy(&value, message + 1, sizeof value);
  return true;
}
