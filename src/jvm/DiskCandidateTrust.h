// The disk search finds every file named like a java executable on the
// machine, including ones that another user put in /var/tmp or /dev/shm,
// and would run them as whoever runs the launcher, root included. Such a
// candidate is only run when nobody but root and this user could have put
// it there or changed it. Candidates the user or the packager named (the
// java home option, hints, PATH) are their choice and are not judged so.
#pragma once

#include "base/SString.h"

// Empty when the executable, and every directory above it (both as found
// and after resolving links), belongs to root or to the launcher's user
// and cannot be changed by others: a directory writable by group or others
// counts only when its sticky bit keeps their hands off other's files.
// Otherwise the reason it is not trusted.
SString distrustReason(const SString& executable);
