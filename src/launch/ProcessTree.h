// The shell that runs a command may start the program as a child of its own
// rather than replace itself with it. A signal meant for the command must
// reach that program as well: sent to the shell alone, it would end the
// shell and leave the program running on its own.
#pragma once

#include <sys/types.h>

// Sends signalNumber to root and to every process below it, as /proc shows
// them now. Without /proc only root gets it.
void SignalProcessTree(pid_t root, int signalNumber);
