// Waiting for a command's child to end, reading its capture pipes meanwhile.
#pragma once

#include <poll.h>
#include <sys/types.h>

#include <chrono>

#include "base/OpenFiles.h"

class CapturedOutput;
class SignalForwarder;
struct RunLimits;

// Watches the child until it has ended, and reads both capture pipes (when
// given) meanwhile. Waiting is done in poll on the pipes and the child, so
// output and the child's end are noticed at once. Once the child has ended,
// what it wrote last is read; programs it left running may hold the pipes
// open for hours, so the reading stops a short moment after the end, and
// openAt tells which pipes are still open.
class ChildWait {
 public:
  // outFd and errFd (-1: none) stay the caller's to close; limits may be
  // null.
  ChildWait(pid_t pid, int outFd, int errFd, RunLimits* limits, SignalForwarder& forwarder);
  ChildWait(const ChildWait&) = delete;
  ChildWait& operator=(const ChildWait&) = delete;

  // Waits for the child's end and returns its wait status. Throws
  // LauncherException when the child cannot be waited for.
  int run(CapturedOutput* out, CapturedOutput* err);
  // Whether pipe i (0 output, 1 error output) was left open by programs
  // that still run.
  bool openAt(int i) const { return fds_[i].fd >= 0; }

 private:
  typedef std::chrono::steady_clock Clock;

  void closeChildDescriptor();
  void drainAvailable(int i, CapturedOutput* text);
  bool collectChild(int& status);
  void killChild();

  pid_t pid_;
  RunLimits* limits_;
  SignalForwarder& forwarder_;
  // Readable when the child has ended; not open on kernels without one.
  FileDescriptor child_;
  // The two pipes, then the child's descriptor.
  struct pollfd fds_[3];
  bool limited_ = false;
  bool expired_ = false;
  Clock::time_point deadline_;
};
