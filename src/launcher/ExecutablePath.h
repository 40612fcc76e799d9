// The archive is read from the launcher's own file, so its path must be
// absolute before anything changes the working directory, and it must be
// the file that is really running: never one the working directory chose.
#pragma once

#include "base/SString.h"

// The path of the running executable as the user knows it. argv0 as typed
// (joined to the working directory when relative) or, for a bare name, the
// first absolute PATH directory that holds it, when that path is the very
// file the system runs (/proc/self/exe); otherwise the file /proc/self/exe
// names. Only where /proc is missing is argv0's path taken unchecked. A
// bare name is never looked up in the working directory: a file planted
// there is not the one the shell ran. Empty when nothing names the file.
SString AbsoluteExecutablePath(const SString& argv0);

// The path that opens the running executable itself, whatever was renamed
// or replaced since it started: /proc/self/exe where it can be read, else
// empty (the archive is then read through the path above).
SString RunningExecutableFile();
