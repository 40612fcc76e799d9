#include "launcher/HandOver.h"

#include <fcntl.h>
#include <limits.h>
#include <sys/stat.h>
#include <sys/syscall.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "base/OpenFiles.h"

namespace {

const char kVariable[] = "LX_HANDOVER";
const int kTokenBytes = 16;
const int kTokenLength = 2 * kTokenBytes;

// The directory of the proof received; empty when there was none.
char receivedDirectory[PATH_MAX];

// Unguessable or nothing: the system call itself (the C library's wrapper
// would tie the launcher to C libraries from 2017 on), then the kernel's
// device.
bool RandomToken(char (&token)[kTokenLength + 1]) {
  unsigned char bytes[kTokenBytes];
  if (syscall(SYS_getrandom, bytes, sizeof bytes, 0) != static_cast<long>(sizeof bytes)) {
    FileDescriptor device(::open("/dev/urandom", O_RDONLY | O_CLOEXEC));
    if (!device.isOpen()) return false;
    bool complete = ::read(device.get(), bytes, sizeof bytes) == static_cast<ssize_t>(sizeof bytes);
    if (!complete) {
      errno = EIO;
      return false;
    }
  }
  for (int i = 0; i < kTokenBytes; ++i) std::snprintf(token + 2 * i, 3, "%02x", bytes[i]);
  return true;
}

// The descriptor's number (above the standard streams), ':' and the token.
bool ParseVariable(const char* value, int& fd, const char*& token) {
  char* end = nullptr;
  errno = 0;
  long number = std::strtol(value, &end, 10);
  if (errno != 0 || end == value || *end != ':' || number <= 2 || number > INT_MAX) return false;
  fd = static_cast<int>(number);
  token = end + 1;
  return std::strlen(token) == static_cast<size_t>(kTokenLength);
}

}  // namespace

int OfferHandOver(const SString& directory) {
  char token[kTokenLength + 1];
  if (!RandomToken(token)) return -1;
  int ends[2];
  if (pipe2(ends, O_CLOEXEC) != 0) return -1;
  FileDescriptor readSide(ends[0]), writeSide(ends[1]);
  SString proof = SString(token) + "\n" + directory;
  // Far smaller than a pipe's buffer: written at once, and read without
  // waiting once the write end is closed.
  bool written = ::write(writeSide.get(), proof.c_str(), proof.length()) == static_cast<ssize_t>(proof.length());
  int error = errno;
  writeSide.close();
  // Above the standard streams (a launcher started with one of them closed
  // gets its number for the pipe), and inherited: the only program this
  // process starts from here on is the one that replaces it.
  int readEnd = written ? fcntl(readSide.get(), F_DUPFD, 3) : -1;
  if (readEnd < 0 && written) error = errno;
  readSide.close();
  char value[16 + kTokenLength];
  if (readEnd >= 0) {
    std::snprintf(value, sizeof value, "%d:%s", readEnd, token);
    if (setenv(kVariable, value, 1) == 0) return readEnd;
    error = errno;
    ::close(readEnd);
  }
  errno = error;
  return -1;
}

void WithdrawHandOver(int descriptor) {
  int error = errno;
  unsetenv(kVariable);
  ::close(descriptor);
  errno = error;
}

void ReceiveHandOver() {
  const char* value = std::getenv(kVariable);
  if (!value) return;
  int fd = -1;
  const char* token = nullptr;
  bool parsed = ParseVariable(value, fd, token);
  char expected[kTokenLength + 2];
  if (parsed) std::snprintf(expected, sizeof expected, "%s\n", token);
  unsetenv(kVariable);
  struct stat status;
  if (!parsed || fstat(fd, &status) != 0 || !S_ISFIFO(status.st_mode)) return;
  FileDescriptor pipe(fd);
  // All the pipe holds, without waiting: the launcher that handed over
  // wrote it and closed its end before it was replaced.
  char content[kTokenLength + 1 + PATH_MAX + 1];
  size_t length = 0;
  int flags = fcntl(fd, F_GETFL);
  if (flags >= 0 && fcntl(fd, F_SETFL, flags | O_NONBLOCK) == 0) {
    ssize_t got;
    while (length < sizeof content && (got = ::read(fd, content + length, sizeof content - length)) != 0) {
      if (got < 0 && errno == EINTR) continue;
      if (got < 0) break;
      length += static_cast<size_t>(got);
    }
  }
  pipe.close();
  const size_t prefix = kTokenLength + 1;
  if (length <= prefix || length >= sizeof content || std::memcmp(content, expected, prefix) != 0) return;
  content[length] = '\0';
  if (std::strlen(content + prefix) != length - prefix) return;
  std::memcpy(receivedDirectory, content + prefix, length - prefix + 1);
}

bool TakeHandOverFor(const SString& launcherPath) {
  SString::size_type slash = launcherPath.rfind('/');
  if (receivedDirectory[0] == '\0' || slash == SString::npos || slash == 0) return false;
  struct stat handed;
  struct stat own;
  bool proven = ::lstat(receivedDirectory, &handed) == 0 && ::stat(launcherPath.substr(0, slash).c_str(), &own) == 0 &&
                S_ISDIR(handed.st_mode) && handed.st_uid == geteuid() && handed.st_dev == own.st_dev &&
                handed.st_ino == own.st_ino;
  receivedDirectory[0] = '\0';
  return proven;
}
