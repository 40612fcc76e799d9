// Passing the signals that ask the launcher to end on to a running child.
#pragma once

#include <sys/types.h>

#include "base/Termination.h"
#include "launch/ProcessTree.h"
#include "launch/SignalWitness.h"

// A signal meant for the launcher that the child must get too: its whole
// group when it has one, otherwise it and everything it started in its
// session. From the first such signal (or an interrupt the child is to
// decide on) the child has a grace to end; then it is killed.
class SignalForwarder {
 public:
  // The witness tells whether a signal went to the launcher's whole group,
  // in which the child then has it already.
  SignalForwarder(pid_t pid, bool ownGroup, ChildSignals& signals, const SignalWitness& witness)
      : pid_(pid), ownGroup_(ownGroup), signals_(signals), witness_(witness) {}

  // Passes on what came since the last call, and kills the child once its
  // grace is over. Called while the child runs.
  void passOn();
  void ended(int status) { signals_.ended(status); }
  // When the grace of the last signal is over (a new one from now when
  // none came yet), and the child's session as the signal found it.
  long long deadline() const {
    return deadline_ != 0 ? deadline_ : MonotonicMillis() + kTerminationGraceSeconds * 1000LL;
  }
  pid_t childSession() const { return childSession_; }
  // The processes a signal was passed on to, so that none gets it twice.
  const SignalledProcesses& signalled() const { return signalled_; }

 private:
  // How long the programs of a command get to end after the launcher has
  // passed a signal to end on to them, before they are killed.
  static constexpr int kTerminationGraceSeconds = 10;

  pid_t pid_;
  bool ownGroup_;
  ChildSignals& signals_;
  const SignalWitness& witness_;
  SignalledProcesses signalled_;
  long long deadline_ = 0;
  bool killed_ = false;
  pid_t childSession_ = 0;
};
