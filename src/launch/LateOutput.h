// A wizard often ends by starting the program it installed. That program
// inherits the pipes that capture the wizard's output, and keeps them open
// long after the wizard has ended. The launcher waits for the wizard only;
// but closing its ends of the pipes would kill the program with SIGPIPE at
// its next write (or fail that write). So a small process of the
// launcher's own takes the pipes over: it adds what still comes to the log,
// when there is one, within what is left of the command's room there (see
// OutputLog), or drops it, and ends once the last writer has closed them.
// It leaves the launcher's session, its terminal and its working
// directory, ignores the signals that end a session, and holds nothing of
// the launcher's file, so it stays as long as the programs that write to
// it without keeping anything else.
#pragma once

#include <cstdint>

#include "base/SString.h"

// Hands the read ends outFd and errFd (either may be -1) to the keeper;
// the caller closes its own copies afterwards. logFile: where late output
// goes (empty: nowhere), at most logBudget bytes of it. When no process
// can be made, nothing happens.
void HandOverLateOutput(int outFd, int errFd, const SString& logFile, uint64_t logBudget);

// Called first thing by a program that can serve as the keeper (the
// launcher program): the keeper starts that program anew so as to hold
// nothing of the file it was forked from. When argv says this process was
// started so, it keeps the pipes and never returns; otherwise it returns,
// and keepers forked from this process may start it anew.
void KeepLateOutputWhenStartedAsKeeper(int argc, char** argv);
