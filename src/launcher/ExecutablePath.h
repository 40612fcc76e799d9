// The archive is read from the launcher's own file, so its path must be
// absolute before anything changes the working directory.
#pragma once

#include "base/SString.h"

// argv0 made absolute: unchanged when it starts with '/', otherwise joined to
// the working directory. A name without any '/' that is not in the working
// directory was found by the shell through PATH, and is looked up there.
SString AbsoluteExecutablePath(const SString& argv0);
