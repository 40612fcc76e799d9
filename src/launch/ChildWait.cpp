#include "launch/ChildWait.h"

#include <signal.h>
#include <sys/syscall.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

#include "base/LauncherException.h"
#include "base/Termination.h"
#include "launch/CapturePipes.h"
#include "launch/CapturedOutput.h"
#include "launch/ProcessTree.h"
#include "launch/RunCommand.h"
#include "launch/SignalForwarder.h"

namespace {

const int kPollMillis = 10;
// Reads from one pipe before the child and the clock are looked at again,
// so a child that writes without pause cannot keep the loop from noticing
// its end or an expired time limit.
const int kReadsPerWake = 8;
// How long output is still read after the child has ended: what it wrote
// just before its end is in the pipes by then; what comes later is from
// programs it left running.
const int kLateOutputMillis = 150;

// A descriptor that becomes readable when the child ends, so that a wait
// ends at once rather than at the next period. Without one (kernels before
// 5.3, or a container's filter refusing the call with any error) the
// periodic look notices the end. Called through syscall, as the C
// library's wrapper is younger than the systems the launcher runs on.
int openChildDescriptor(pid_t pid) {
#ifdef SYS_pidfd_open
  return static_cast<int>(syscall(SYS_pidfd_open, pid, 0));
#else
  (void)pid;
  return -1;
#endif
}

}  // namespace

ChildWait::ChildWait(pid_t pid, int outFd, int errFd, RunLimits* limits, SignalForwarder& forwarder)
    : pid_(pid), limits_(limits), forwarder_(forwarder), child_(openChildDescriptor(pid)) {
  fds_[0] = {outFd, POLLIN, 0};
  fds_[1] = {errFd, POLLIN, 0};
  fds_[2] = {child_.get(), POLLIN, 0};
  if (limits_ && limits_->timeoutSeconds > 0) {
    deadline_ = Clock::now() + std::chrono::seconds(limits_->timeoutSeconds);
    limited_ = true;
  }
}

int ChildWait::run(CapturedOutput* out, CapturedOutput* err) {
  CapturedOutput* texts[2] = {out, err};
  bool ended = false;
  int status = 0;
  Clock::time_point lateEnd;
  while (!ended || fds_[0].fd >= 0 || fds_[1].fd >= 0) {
    if (!ended) forwarder_.passOn();
    if (limited_ && !expired_ && Clock::now() >= deadline_) killChild();
    if (ended && (expired_ || TerminationSignal() != 0 || Clock::now() >= lateEnd)) {
      // Whatever escaped the killed group, what the child left running
      // when the launcher is to end, or after the moment for late output:
      // take what is there and stop.
      for (int i = 0; i < 2; ++i) {
        if (fds_[i].fd >= 0) drainAvailable(i, texts[i]);
      }
      break;
    }
    // Never an endless poll, not even for the rest of the output once the
    // child has ended: a signal that came just before it would go
    // unnoticed. Closed pipes are left out by poll, which then only waits.
    int ready = poll(fds_, 3, kPollMillis);
    if (ready < 0 && errno != EINTR) {
      // Without a working poll the output cannot be read; the child is
      // still waited for.
      fds_[0].fd = fds_[1].fd = -1;
      continue;
    }
    for (int i = 0; i < 2; ++i) {
      if (fds_[i].fd >= 0 && fds_[i].revents != 0) drainAvailable(i, texts[i]);
    }
    if (!expired_ && ((out && out->exceeded()) || (err && err->exceeded()))) {
      limits_->outputExceeded = true;
      killChild();
    }
    if (!ended) {
      CollectEndedChildren(pid_);
      ended = collectChild(status);
      if (ended) lateEnd = Clock::now() + std::chrono::milliseconds(kLateOutputMillis);
    }
    if (ended) closeChildDescriptor();
  }
  return status;
}

void ChildWait::closeChildDescriptor() {
  child_ = FileDescriptor();
  fds_[2].fd = -1;
}

// Reads what is waiting on one pipe; end of file or a read error ends the
// reading of that pipe for good.
void ChildWait::drainAvailable(int i, CapturedOutput* text) {
  for (int reads = 0; reads < kReadsPerWake; ++reads) {
    int n = drainPipe(fds_[i].fd, text);
    if (n > 0) continue;
    if (n < 0 && (errno == EAGAIN || errno == EWOULDBLOCK || errno == EINTR)) return;
    fds_[i].fd = -1;
    return;
  }
}

bool ChildWait::collectChild(int& status) {
  int s = 0;
  pid_t r = waitpid(pid_, &s, WNOHANG);
  if (r == pid_ && (WIFEXITED(s) || WIFSIGNALED(s))) {
    status = s;
    forwarder_.ended(status);
    return true;
  }
  if (r < 0 && errno != EINTR) {
    int error = errno;
    forwarder_.ended(status);
    throw LauncherException("Error waiting for child process: " + SString(std::strerror(error)));
  }
  return false;
}

// For the time limit, or for output past its limit.
void ChildWait::killChild() {
  expired_ = true;
  if (!limits_->outputExceeded) limits_->expired = true;
  kill(limits_->ownProcessGroup ? -pid_ : pid_, SIGKILL);
}
