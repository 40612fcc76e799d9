#include "launch/LateOutput.h"

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <initializer_list>

#include "base/OpenFiles.h"
#include "launch/CloseDescriptors.h"

namespace {

// Where the kept descriptors are moved to in the keeper.
const int kOutFd = 3, kErrFd = 4, kLogFd = 5;

void writeAll(int fd, const char* bytes, size_t length) {
  while (length > 0) {
    ssize_t n = write(fd, bytes, length);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) return;
    bytes += n;
    length -= static_cast<size_t>(n);
  }
}

// Moves fd to target, or leaves target closed.
void moveTo(int fd, int target) {
  if (fd < 0) {
    close(target);
    return;
  }
  if (fd != target && dup2(fd, target) < 0) close(target);
}

[[noreturn]] void keep(int outFd, int errFd, int logFd) {
  setsid();
  struct sigaction ignore = {};
  ignore.sa_handler = SIG_IGN;
  sigemptyset(&ignore.sa_mask);
  for (int signalNumber : {SIGHUP, SIGINT, SIGQUIT, SIGTERM, SIGPIPE}) sigaction(signalNumber, &ignore, nullptr);
  sigset_t none;
  sigemptyset(&none);
  sigprocmask(SIG_SETMASK, &none, nullptr);
  if (chdir("/") != 0) {
    // Any directory will do for reading pipes.
  }
  // Above every descriptor to keep, so that moving one does not overwrite
  // another.
  int out = outFd >= 0 ? fcntl(outFd, F_DUPFD, 16) : -1;
  int err = errFd >= 0 ? fcntl(errFd, F_DUPFD, 16) : -1;
  int log = logFd >= 0 ? fcntl(logFd, F_DUPFD, 16) : -1;
  int null = open("/dev/null", O_RDWR);
  for (int fd = 0; fd < 3; ++fd) moveTo(null, fd);
  moveTo(out, kOutFd);
  moveTo(err, kErrFd);
  moveTo(log, kLogFd);
  // The keeper holds nothing else open: no terminal, no caller's pipe.
  CloseDescriptorsFrom(kLogFd + 1);

  static char buffer[65536];
  bool headed = false;
  struct pollfd pipes[2] = {{out >= 0 ? kOutFd : -1, POLLIN, 0}, {err >= 0 ? kErrFd : -1, POLLIN, 0}};
  while (pipes[0].fd >= 0 || pipes[1].fd >= 0) {
    if (poll(pipes, 2, -1) < 0) {
      if (errno == EINTR) continue;
      break;
    }
    for (struct pollfd& pipe : pipes) {
      if (pipe.fd < 0 || pipe.revents == 0) continue;
      ssize_t n = read(pipe.fd, buffer, sizeof buffer);
      if (n < 0 && (errno == EINTR || errno == EAGAIN || errno == EWOULDBLOCK)) continue;
      if (n <= 0) {
        pipe.fd = -1;
        continue;
      }
      if (log < 0) continue;
      if (!headed) {
        static const char kHeading[] = "Output after the command ended, from programs it left running:\n";
        writeAll(kLogFd, kHeading, sizeof kHeading - 1);
        headed = true;
      }
      writeAll(kLogFd, buffer, static_cast<size_t>(n));
    }
  }
  _exit(0);
}

}  // namespace

void HandOverLateOutput(int outFd, int errFd, const SString& logFile) {
  if (outFd < 0 && errFd < 0) return;
  FileDescriptor log;
  if (!logFile.empty())
    log = FileDescriptor(open(logFile.c_str(), O_WRONLY | O_APPEND | O_CREAT | O_CLOEXEC | O_NOCTTY, 0666));
  pid_t pid = fork();
  if (pid == 0) keep(outFd, errFd, log.get());
}
