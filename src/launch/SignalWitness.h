// A signal sent to the launcher's process group reaches the wizard as
// well, since the wizard runs in that group (a console wizard reads the
// terminal, which only its foreground group may). Passed on again by the
// launcher, it would reach the wizard twice: coreutils' timeout, for one,
// signals its child and then its whole group. The launcher cannot tell the
// two apart from what it receives (the same sender, the same way, and two
// pending signals merge into one), so a small process of its own stands in
// its group while a command runs, with the ending signals blocked: what is
// pending there, as /proc shows it, was sent to the group.
#pragma once

#include <sys/types.h>

#include "base/OpenFiles.h"

class SignalWitness {
 public:
  // With wanted, and when the launcher handles hang-up, interrupt, quit or
  // terminate, forks the witness; otherwise (or when no process can be
  // made) there is none, and groupGot always says no.
  explicit SignalWitness(bool wanted);
  ~SignalWitness() { end(); }
  SignalWitness(const SignalWitness&) = delete;
  SignalWitness& operator=(const SignalWitness&) = delete;

  // Whether signalNumber was sent to the launcher's process group since
  // the witness started.
  bool groupGot(int signalNumber) const;
  // The same for a signal the launcher has just received. A sender that
  // means the group signals it right after the launcher, so the answer no
  // comes only after a moment (a fifth of a second).
  bool groupGetsToo(int signalNumber) const;
  // Kills and collects the witness: before the launcher waits for the
  // command's last programs, which would otherwise include it.
  void end();

 private:
  pid_t pid_ = -1;
  // The read end of a pipe whose only write end the witness holds: it
  // reads as hung up once the witness has ended, whoever collected it.
  FileDescriptor lifeline_;
};
