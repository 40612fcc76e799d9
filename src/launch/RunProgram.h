// Runs a program with an argument vector of its own, without a shell, for
// what is shown on the desktop: the texts handed to it may hold any
// character ($(...), back quotes, quotes) and must reach it as they are.
// Commands that packagers write go through runCommand instead.
#pragma once

#include "base/Deque.h"
#include "base/SString.h"

struct ProgramRun {
  SString program;          // the path of the program
  StringDeque arguments;    // after the program's name, each one word
  StringDeque environment;  // NAME=value settings that replace the launcher's own for the program
  int timeoutSeconds = 0;   // 0: wait as long as the program runs
  bool expired = false;     // out: the time ran out and the program was ended
};

// Starts run.program in a process group of its own, with the launcher's
// standard streams, and waits for it. When the time runs out the group gets
// SIGTERM, and SIGKILL a few seconds later if it is still there. A signal
// that asks the launcher to end is passed on to the group; a program that
// has not ended when the grace a command's programs get is over
// (SignalForwarder) is killed with its group. Returns the exit code (128 +
// the signal number for a program a signal killed, 127 when the program
// could not be run), or -1 with errno set when no process could be made.
int runProgram(ProgramRun& run);
