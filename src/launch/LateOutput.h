// A wizard often ends by starting the program it installed. That program
// inherits the pipes that capture the wizard's output, and keeps them open
// long after the wizard has ended. The launcher waits for the wizard only;
// but closing its ends of the pipes would kill the program with SIGPIPE at
// its next write (or fail that write). So a small process of the
// launcher's own takes the pipes over: it adds what still comes to the log,
// when there is one, within what is left of the command's room there (see
// OutputLog), or drops it, and ends once the last writer has closed them.
// It leaves the launcher's session, its terminal and its working
// directory, and ignores the signals that end a session, so it stays as
// long as the programs that write to it.
#pragma once

#include <cstdint>

#include "base/SString.h"

// Hands the read ends outFd and errFd (either may be -1) to the keeper;
// the caller closes its own copies afterwards. logFile: where late output
// goes (empty: nowhere), at most logBudget bytes of it. When no process
// can be made, nothing happens.
void HandOverLateOutput(int outFd, int errFd, const SString& logFile, uint64_t logBudget);
