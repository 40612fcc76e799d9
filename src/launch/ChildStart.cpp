#include "launch/ChildStart.h"

#include <string.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

namespace {

// Writes text whole, or as much as the stream takes.
void writeAll(int fd, const char* text) {
  size_t left = std::strlen(text);
  while (left > 0) {
    ssize_t n = write(fd, text, left);
    if (n <= 0) return;
    text += n;
    left -= static_cast<size_t>(n);
  }
}

}  // namespace

void execShellInChild(const char* command, int outFd, int errFd, bool ownProcessGroup, const ChildSignals& signals,
                      volatile int* execError) {
  if (ownProcessGroup) setpgid(0, 0);
  signals.prepareChild();
  if (outFd >= 0 || errFd >= 0) {
    if ((outFd >= 0 && dup2(outFd, 1) < 0) || (errFd >= 0 && dup2(errFd, 2) < 0)) {
      // strerrordesc_np only looks the text up; strerror may translate it,
      // which can allocate in memory the child shares with the launcher.
      const char* reason = strerrordesc_np(errno);
      writeAll(2, "Error capturing stdout or stderr in new process: ");
      writeAll(2, reason ? reason : "Unknown error");
      writeAll(2, "\n");
      _exit(1);
    }
  }
  execl("/bin/sh", "sh", "-c", command, static_cast<char*>(nullptr));
  if (execError != nullptr) *execError = errno;
  _exit(127);
}

pid_t startShellChild(const char* command, int outFd, int errFd, bool ownProcessGroup, const ChildSignals& signals,
                      bool* shellFailed) {
  // The child writes here, in the launcher's memory, when exec fails; the
  // launcher goes on only once the child has exec'd or ended.
  volatile int execError = 0;
  pid_t pid = vfork();
  if (pid == 0) execShellInChild(command, outFd, errFd, ownProcessGroup, signals, &execError);
  if (pid > 0 && execError != 0) {
    int status = 0;
    while (waitpid(pid, &status, 0) < 0 && errno == EINTR) {
    }
    if (shellFailed != nullptr) *shellFailed = true;
    errno = execError;
    return -1;
  }
  return pid;
}
