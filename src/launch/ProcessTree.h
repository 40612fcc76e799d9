// The shell that runs a command may start the program as a child of its own
// rather than replace itself with it. A signal meant for the command must
// reach that program as well: sent to the shell alone, it would end the
// shell and leave the program running on its own.
//
// Only the processes of the command's own session are the command's in
// this sense: a program it detached with setsid (a daemon, or the launcher's
// own keeper of late output) left the session on purpose and is neither
// signalled nor waited for.
#pragma once

#include <sys/types.h>

// Sends signalNumber to root and to every process below it in root's
// session or the launcher's, as /proc shows them now. Without /proc only
// root gets it.
void SignalProcessTree(pid_t root, int signalNumber);

// From now on the processes that the launcher's children leave behind when
// they end become the launcher's children instead of init's, so that
// EndDescendants still finds them (a child subreaper, Linux 3.4 on).
void AdoptOrphanedDescendants();

// Collects the launcher's children that have ended, except keep (the child
// being waited for, which its own wait collects): processes adopted from a
// command would otherwise stay as zombies for the whole run, each holding
// a slot of the user's process limit.
void CollectEndedChildren(pid_t keep);

// Milliseconds of a clock that only moves forward.
long long MonotonicMillis();

// Ends everything below the launcher in its session (and in extraSession,
// when not 0) before it removes its files: each process gets signalNumber
// once (also one started after the first signal), and what still runs at
// deadline (MonotonicMillis) gets SIGKILL. Returns when none is left, or a
// few seconds after the SIGKILL for a process that cannot die. The process
// table is read seldom, more seldom the longer it takes, so a machine with
// many processes does not make the wait a busy one.
void EndDescendants(int signalNumber, long long deadline, pid_t extraSession = 0);
