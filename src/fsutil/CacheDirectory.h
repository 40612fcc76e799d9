// A directory of the user's own under the user's cache ($XDG_CACHE_HOME, or
// ~/.cache), for what the launcher keeps or runs there. What is run from it
// must not be open to another user's changes, so the directory is private
// (0700) and no directory on its way may be changed by anyone but its owner,
// the user or root (unless it is sticky, as /tmp is).
#pragma once

#include "base/SString.h"

// The directory cache/lxlauncher/name (cache/lxlauncher itself for an empty
// name), made when missing, with symbolic links resolved. Empty when the
// user has no cache directory, it cannot be made, or it is not safely the
// user's (logged with why); nothing is made then where the way is not.
SString PrivateCacheDirectory(const char* name);
