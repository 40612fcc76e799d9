// The lxpack commands. Each takes the arguments after its name and returns
// the exit status; a wrong command line throws UsageError, a failure of the
// work PackError.
#pragma once

#include "Arguments.h"

int runCreate(Arguments& args);
int runList(Arguments& args);
int runCheck(Arguments& args);
int runExtract(Arguments& args);
