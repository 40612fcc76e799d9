#include "launch/SignalForwarder.h"

#include <signal.h>
#include <unistd.h>

void SignalForwarder::passOn() {
  int signalNumber = signals_.takeSignalToForward();
  if (signalNumber != 0) {
    pid_t session = getsid(pid_);
    if (session > 0) childSession_ = session;
    if (ownGroup_) {
      kill(-pid_, signalNumber);
    } else {
      SignalProcessTree(pid_, signalNumber, &signalled_, witness_.groupGetsToo(signalNumber));
    }
  }
  if (deadline_ == 0 && (TerminationSignal() != 0 || signals_.interruptPending())) {
    deadline_ = MonotonicMillis() + kTerminationGraceSeconds * 1000LL;
  }
  if (deadline_ != 0 && !killed_ && MonotonicMillis() >= deadline_) {
    // The child did not end in its grace: an interrupt it was to decide
    // on ends the run as any request to end does.
    killed_ = true;
    if (signals_.interruptPending()) RequestTermination(SIGINT);
    kill(ownGroup_ ? -pid_ : pid_, SIGKILL);
  }
}
