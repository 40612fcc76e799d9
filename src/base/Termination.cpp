#include "base/Termination.h"

#include <sys/wait.h>

namespace {

const int kHandledSignals[] = {SIGHUP, SIGINT, SIGQUIT, SIGTERM};

enum ChildState { kNoChild, kChildInOurGroup, kChildInOwnGroup };

// Written by the handler, read by the main flow. sig_atomic_t and nothing
// else: the handler may interrupt the main flow anywhere.
volatile sig_atomic_t requestedSignal = 0;
volatile sig_atomic_t childState = kNoChild;
volatile sig_atomic_t interruptForChild = 0;
// Every signal that the running child must get too counts one arrival; the
// main flow passes the last one on whenever the count moved.
volatile sig_atomic_t arrivals = 0;
volatile sig_atomic_t lastArrival = 0;
// SIGPIPE was at its default when the launcher started and is ignored now.
volatile sig_atomic_t brokenPipeIgnored = 0;

// The signals that have the handler; empty until it is installed, so the
// child bookkeeping does nothing in processes (tests) without it.
sigset_t& handledSignals() {
  static sigset_t handled = [] {
    sigset_t empty;
    sigemptyset(&empty);
    return empty;
  }();
  return handled;
}

bool isInterrupt(int signalNumber) { return signalNumber == SIGINT || signalNumber == SIGQUIT; }

// Runs with every handled signal blocked (sa_mask), so it never interrupts
// itself.
void onSignal(int signalNumber, siginfo_t* info, void*) {
  if (isInterrupt(signalNumber) && childState == kChildInOurGroup) {
    interruptForChild = signalNumber;
    // The terminal's interrupt (sent by the kernel) reached the child as
    // well; one sent to the launcher alone (timeout -s INT, a kill) must be
    // passed on, or a child waiting for it would keep the launcher for ever.
    if (signalNumber == SIGINT && (info == nullptr || info->si_code != SI_KERNEL)) {
      lastArrival = signalNumber;
      arrivals = arrivals + 1;
    }
    return;
  }
  if (requestedSignal == 0) requestedSignal = signalNumber;
  lastArrival = signalNumber;
  arrivals = arrivals + 1;
}

}  // namespace

void InstallTerminationHandlers() {
  // A parent that ignores SIGCHLD would have the kernel collect every child
  // at once: no wait could tell the wizard's status, which would read as a
  // success or a failure to wait. The launcher and what it starts wait for
  // their children, so the default comes back. (A handler's flags, such as
  // SA_NOCLDWAIT, do not survive exec; only the ignoring does.)
  struct sigaction childAction;
  if (sigaction(SIGCHLD, nullptr, &childAction) == 0 && childAction.sa_handler == SIG_IGN) {
    struct sigaction defaultAction = {};
    defaultAction.sa_handler = SIG_DFL;
    sigemptyset(&defaultAction.sa_mask);
    sigaction(SIGCHLD, &defaultAction, nullptr);
  }
  sigset_t& handled = handledSignals();
  struct sigaction action = {};
  action.sa_sigaction = onSignal;
  sigemptyset(&action.sa_mask);
  for (int signalNumber : kHandledSignals) sigaddset(&action.sa_mask, signalNumber);
  // No SA_RESTART: a blocking read (the prompt for a directory) returns, so
  // the next check point comes at once instead of after the user's answer.
  action.sa_flags = SA_SIGINFO;
  for (int signalNumber : kHandledSignals) {
    struct sigaction previous;
    if (sigaction(signalNumber, nullptr, &previous) != 0 || previous.sa_handler == SIG_IGN) continue;
    if (sigaction(signalNumber, &action, nullptr) == 0) sigaddset(&handled, signalNumber);
  }
  // A console that went away must not end the launcher before its
  // clean-up: writing to it fails with EPIPE instead, and the console stops
  // writing. A launcher started with SIGPIPE ignored has nothing to change.
  struct sigaction previous;
  if (sigaction(SIGPIPE, nullptr, &previous) == 0 && previous.sa_handler == SIG_DFL) IgnoreBrokenPipe();
}

void IgnoreBrokenPipe() {
  struct sigaction ignore = {};
  ignore.sa_handler = SIG_IGN;
  sigemptyset(&ignore.sa_mask);
  if (sigaction(SIGPIPE, &ignore, nullptr) == 0) brokenPipeIgnored = 1;
}

bool BrokenPipeAsStarted() {
  if (!brokenPipeIgnored) return false;
  struct sigaction defaultAction = {};
  defaultAction.sa_handler = SIG_DFL;
  sigemptyset(&defaultAction.sa_mask);
  sigaction(SIGPIPE, &defaultAction, nullptr);
  brokenPipeIgnored = 0;
  return true;
}

int TerminationSignal() { return requestedSignal; }

void RequestTermination(int signalNumber) {
  if (requestedSignal == 0) requestedSignal = signalNumber;
}

void CheckTermination() {
  int signalNumber = requestedSignal;
  if (signalNumber != 0) throw TerminationRequest(signalNumber);
}

ChildSignals::ChildSignals(bool ownProcessGroup)
    : ownProcessGroup_(ownProcessGroup), blocked_(true), forwarded_(arrivals) {
  sigprocmask(SIG_BLOCK, &handledSignals(), &savedMask_);
}

ChildSignals::~ChildSignals() {
  if (running_) childState = kNoChild;
  restoreMask();
}

void ChildSignals::prepareChild() const {
  struct sigaction defaultAction = {};
  defaultAction.sa_handler = SIG_DFL;
  sigemptyset(&defaultAction.sa_mask);
  for (int signalNumber : kHandledSignals) {
    if (sigismember(&handledSignals(), signalNumber) == 1) sigaction(signalNumber, &defaultAction, nullptr);
  }
  // An ignored signal stays ignored across exec; the program gets SIGPIPE
  // as the launcher got it.
  if (brokenPipeIgnored) sigaction(SIGPIPE, &defaultAction, nullptr);
  // A signal that came since the fork is delivered now, with its default
  // action: the child does not miss it.
  sigprocmask(SIG_SETMASK, &savedMask_, nullptr);
}

void ChildSignals::started() {
  interruptForChild = 0;
  childState = ownProcessGroup_ ? kChildInOwnGroup : kChildInOurGroup;
  running_ = true;
  restoreMask();
}

int ChildSignals::takeSignalToForward() {
  int count = arrivals;
  if (count == forwarded_) return 0;
  forwarded_ = count;
  return lastArrival;
}

bool ChildSignals::interruptPending() const { return running_ && interruptForChild == SIGINT; }

void ChildSignals::ended(int waitStatus) {
  // From here on an interrupt is the launcher's own again.
  childState = kNoChild;
  running_ = false;
  int interrupt = interruptForChild;
  interruptForChild = 0;
  // The child let the interrupt kill it: the user meant the whole run. A
  // child that caught it and went on, or ended on its own terms, decided
  // otherwise.
  if (interrupt != 0 && WIFSIGNALED(waitStatus) && WTERMSIG(waitStatus) == interrupt) RequestTermination(interrupt);
}

void ChildSignals::restoreMask() {
  if (!blocked_) return;
  blocked_ = false;
  sigprocmask(SIG_SETMASK, &savedMask_, nullptr);
}
