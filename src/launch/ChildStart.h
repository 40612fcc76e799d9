// Starting the shell that runs a command. The child is made with vfork: it
// borrows the launcher's memory until it execs, so starting it copies no
// page tables, which is most of what starting a short command costs beyond
// the command itself. The price is that the child, until exec, may only
// make system calls and touch its own stack: it shares every other byte
// with the launcher, which waits meanwhile.
#pragma once

#include <sys/types.h>

#include "base/Termination.h"

// Starts /bin/sh -c command. outFd and errFd, when not -1, become the
// child's standard output and error. With ownProcessGroup the child leads a
// group of its own. Returns the child's process id, or -1 with errno set
// when no child could be made, or when the child could not run the shell
// (a command line longer than the system takes, say): then shellFailed is
// set and the child has already been collected.
pid_t startShellChild(const char* command, int outFd, int errFd, bool ownProcessGroup, const ChildSignals& signals,
                      bool* shellFailed = nullptr);

// The child's side, after vfork (or fork): redirects, restores the
// launcher's original signal handling and execs the shell. It never
// returns: a failed redirection is reported on the standard error the child
// still has and ends the child with 1; a failed exec stores its errno in
// execError (when given: memory the vfork child shares with the launcher)
// and ends the child with 127.
[[noreturn]] void execShellInChild(const char* command, int outFd, int errFd, bool ownProcessGroup,
                                   const ChildSignals& signals, volatile int* execError = nullptr);
