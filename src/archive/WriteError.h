// How a file that cannot be written is reported: the file, the system's
// reason, and the hint about -lx:tempdir only where the reason is a lack of
// space (a full disk or a used-up quota). Too many open files or a name too
// long have nothing to do with free space.
#pragma once

#include "base/LauncherException.h"
#include "base/SString.h"

// "Error writing file = PATH: REASON." followed by the hint for ENOSPC and
// EDQUOT.
SString writeFailureText(const SString& path, int error);
LauncherException writeFailure(const SString& path, int error);
