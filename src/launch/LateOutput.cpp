#include "launch/LateOutput.h"

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <unistd.h>

#include <cerrno>
#include <initializer_list>

#include "base/OpenFiles.h"
#include "launch/CloseDescriptors.h"
#include "launch/OutputLog.h"

namespace {

// Where the kept descriptors are moved to in the keeper.
const int kOutFd = 3, kErrFd = 4, kLogFd = 5;
const char kLateTitle[] = "Output after the command ended, from programs it left running:\n";

// Moves fd to target, or leaves target closed.
void moveTo(int fd, int target) {
  if (fd < 0) {
    close(target);
    return;
  }
  if (fd != target && dup2(fd, target) < 0) close(target);
}

// Reads the pipes at kOutFd and kErrFd until every writer has closed them,
// logging what comes within budget. One that is not open fails its first
// read, and is left alone from then on.
[[noreturn]] void keep(uint64_t budget) noexcept {
  OutputLog log(FileDescriptor(fcntl(kLogFd, F_GETFD) >= 0 ? kLogFd : -1), budget, kLateTitle);
  static char buffer[65536];
  struct pollfd pipes[2] = {{kOutFd, POLLIN, 0}, {kErrFd, POLLIN, 0}};
  while (pipes[0].fd >= 0 || pipes[1].fd >= 0) {
    if (poll(pipes, 2, -1) < 0) {
      if (errno == EINTR) continue;
      break;
    }
    for (int stream = 0; stream < 2; ++stream) {
      struct pollfd& pipe = pipes[stream];
      if (pipe.fd < 0 || pipe.revents == 0) continue;
      ssize_t n = read(pipe.fd, buffer, sizeof buffer);
      if (n < 0 && (errno == EINTR || errno == EAGAIN || errno == EWOULDBLOCK)) continue;
      if (n <= 0) {
        pipe.fd = -1;
        continue;
      }
      log.write(stream, buffer, static_cast<size_t>(n));
    }
  }
  log.finish();
  _exit(0);
}

[[noreturn]] void startKeeping(int outFd, int errFd, int logFd, uint64_t budget) noexcept {
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
  // another; then to kOutFd, kErrFd and kLogFd.
  // The standard descriptors read and write nothing.
  const int kept[] = {outFd, errFd, logFd};
  int sources[6];
  for (int i = 0; i < 3; ++i) sources[3 + i] = kept[i] >= 0 ? fcntl(kept[i], F_DUPFD, 16) : -1;
  sources[0] = sources[1] = sources[2] = open("/dev/null", O_RDWR);
  for (int fd = 0; fd < 6; ++fd) moveTo(sources[fd], fd);
  // The keeper holds nothing else open: no terminal, no caller's pipe.
  CloseDescriptorsFrom(kLogFd + 1);
  keep(budget);
}

}  // namespace

void HandOverLateOutput(int outFd, int errFd, const SString& logFile, uint64_t logBudget) {
  if (outFd < 0 && errFd < 0) return;
  FileDescriptor log = OutputLog::openFile(logFile);
  pid_t pid = fork();
  if (pid == 0) startKeeping(outFd, errFd, log.get(), logBudget);
}
