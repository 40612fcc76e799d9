#include "launch/SignalWitness.h"

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <sys/prctl.h>
#include <sys/wait.h>
#include <time.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <initializer_list>
#include <utility>

#include "base/OpenFiles.h"
#include "launch/CloseDescriptors.h"
#include "launch/ProcessTree.h"

namespace {

const int kEndingSignals[] = {SIGHUP, SIGINT, SIGQUIT, SIGTERM};
// Long enough for the group signal of a sender that signals the launcher
// first, on a busy machine; short enough not to hold up a signal meant
// for the launcher alone.
const long kGroupSignalWaitMillis = 200;
const long kLookMillis = 2;

bool launcherHandlesEndingSignals() {
  for (int signalNumber : kEndingSignals) {
    struct sigaction action;
    if (sigaction(signalNumber, nullptr, &action) != 0) continue;
    if ((action.sa_flags & SA_SIGINFO) != 0 || (action.sa_handler != SIG_DFL && action.sa_handler != SIG_IGN))
      return true;
  }
  return false;
}

// The witness's whole life, with the ending signals blocked from its
// start: it keeps them pending, holds the lifeline and nothing else, and
// dies with the launcher. Job-control stops do it no harm: a stopped
// process still collects pending signals, and SIGKILL ends it all the
// same.
[[noreturn]] void watch(pid_t launcher, int lifelineEnd) {
  prctl(PR_SET_PDEATHSIG, SIGKILL, 0, 0, 0);
  if (getppid() != launcher) _exit(0);
  if (dup2(lifelineEnd, 0) < 0) _exit(0);
  CloseDescriptorsFrom(1);
  for (;;) pause();
}

// Whether signalNumber is pending in process pid: 1, 0, or -1 when /proc
// cannot tell. Sent to the process (or its group) it is in ShdPnd, sent
// to the thread in SigPnd.
int pendingIn(pid_t pid, int signalNumber) {
  char path[32];
  std::snprintf(path, sizeof path, "/proc/%d/status", static_cast<int>(pid));
  FileDescriptor fd(open(path, O_RDONLY | O_CLOEXEC));
  if (!fd.isOpen()) return -1;
  char status[4096];
  ssize_t n = read(fd.get(), status, sizeof status - 1);
  if (n <= 0) return -1;
  status[n] = '\0';
  const unsigned long long bit = 1ULL << (signalNumber - 1);
  int found = -1;
  for (const char* key : {"\nSigPnd:", "\nShdPnd:"}) {
    const char* line = std::strstr(status, key);
    if (!line) continue;
    if ((std::strtoull(line + std::strlen(key), nullptr, 16) & bit) != 0) return 1;
    found = 0;
  }
  return found;
}

}  // namespace

SignalWitness::SignalWitness(bool wanted) {
  if (!wanted || !launcherHandlesEndingSignals()) return;
  int ends[2];
  if (pipe2(ends, O_CLOEXEC) != 0) return;
  FileDescriptor readEnd(ends[0]), writeEnd(ends[1]);
  // Blocked from before the fork, so that none slips past the witness
  // before it has made them wait for good.
  sigset_t ending, saved;
  sigemptyset(&ending);
  for (int signalNumber : kEndingSignals) sigaddset(&ending, signalNumber);
  sigprocmask(SIG_BLOCK, &ending, &saved);
  pid_t launcher = getpid();
  pid_t pid = fork();
  if (pid == 0) watch(launcher, writeEnd.get());
  sigprocmask(SIG_SETMASK, &saved, nullptr);
  if (pid < 0) return;
  pid_ = pid;
  lifeline_ = std::move(readEnd);
}

bool SignalWitness::groupGot(int signalNumber) const { return pid_ > 0 && pendingIn(pid_, signalNumber) == 1; }

bool SignalWitness::groupGetsToo(int signalNumber) const {
  if (pid_ <= 0) return false;
  long long deadline = MonotonicMillis() + kGroupSignalWaitMillis;
  for (;;) {
    int pending = pendingIn(pid_, signalNumber);
    if (pending != 0) return pending == 1;
    if (MonotonicMillis() >= deadline) return false;
    struct timespec look = {0, kLookMillis * 1000000L};
    nanosleep(&look, nullptr);
  }
}

void SignalWitness::end() {
  if (pid_ <= 0) return;
  // A witness that ended before (killed by someone) may have been collected
  // with the command's adopted programs, and its number given to another
  // process since: that one must not get the SIGKILL.
  struct pollfd lifeline = {lifeline_.get(), 0, 0};
  int ready;
  while ((ready = poll(&lifeline, 1, 0)) < 0 && errno == EINTR) {
  }
  if (ready == 0) {
    kill(pid_, SIGKILL);
    while (waitpid(pid_, nullptr, 0) < 0 && errno == EINTR) {
    }
  } else {
    waitpid(pid_, nullptr, WNOHANG);
  }
  lifeline_ = FileDescriptor();
  pid_ = -1;
}
