// The shell that runs a command may start the program as a child of its own
// rather than replace itself with it. A signal meant for the command must
// reach that program as well: sent to the shell alone, it would end the
// shell and leave the program running on its own.
#pragma once

#include <sys/types.h>

// Sends signalNumber to root and to every process below it, as /proc shows
// them now. Without /proc only root gets it.
void SignalProcessTree(pid_t root, int signalNumber);

// From now on the processes that the launcher's children leave behind when
// they end become the launcher's children instead of init's, so that
// EndDescendants still finds them (a child subreaper, Linux 3.4 on).
void AdoptOrphanedDescendants();

// Ends everything below the launcher before it removes its files: each
// process gets signalNumber once (also one started after the first signal),
// and what still runs after graceSeconds gets SIGKILL. Returns when none is
// left, or a few seconds after the SIGKILL for a process that cannot die.
void EndDescendants(int signalNumber, int graceSeconds);
