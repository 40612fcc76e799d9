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

#include <vector>

// A process that has a signal already. Each of the command's processes
// gets a signal to end once: a wizard that handles it (asks whether to
// quit, or cleans up) would take a second one for a second request.
struct SignalledProcess {
  pid_t pid;
  int signalNumber;
};
typedef std::vector<SignalledProcess> SignalledProcesses;

// Sends signalNumber to root and to every process below it in root's
// session or the launcher's, as /proc shows them now, except those that
// signalled (when given) lists with it; each is added there. With
// groupGotIt the launcher's process group was sent the signal: the
// launcher's processes in that group (root's, and those adopted from it)
// have it and are only listed. Without /proc only root gets it.
void SignalProcessTree(pid_t root, int signalNumber, SignalledProcesses* signalled = nullptr, bool groupGotIt = false);

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
// deadline (MonotonicMillis) gets SIGKILL. Those that signalled (when
// given) lists with signalNumber have it already, and with groupGotIt so
// have those of the launcher's process group found at the first look.
// Returns when none is left, or a few seconds after the SIGKILL for a
// process that cannot die. The process
// table is read seldom, more seldom the longer it takes, so a machine with
// many processes does not make the wait a busy one.
void EndDescendants(int signalNumber, long long deadline, pid_t extraSession = 0,
                    const SignalledProcesses* signalled = nullptr, bool groupGotIt = false);
