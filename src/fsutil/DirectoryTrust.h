// What the launcher puts in a directory it later runs or hands on, as
// whoever runs the launcher, root included. Whoever can change what a
// directory holds, or the way to it, can rename the launcher's entries and
// put their own program in their place: a directory is only trusted when
// nobody but root and the running user can.
#pragma once

#include <sys/types.h>

#include "base/SString.h"

// Empty when directory and every directory above it, on the way as
// written and with links resolved, belong to root or to user, and one
// that group or others may write is sticky, so that nobody can take away or replace another's entries.
// Otherwise why not, in words for the log; culprit names the first
// directory that fails (directory itself when it cannot be resolved).
SString WhyOthersCanChange(const SString& directory, uid_t user, SString& culprit);

// The places temporary files may go: shared ones (TMPDIR, -lx:tempdir,
// /tmp, /var/tmp, the private directory in the user's cache) and the
// user's runtime directory ($XDG_RUNTIME_DIR), which by its own rules
// belongs to the user alone, with mode 0700.
enum class TempPlaceKind { Shared, RuntimeDirectory };

// Empty when the launcher's temporary files may go into dir, an existing
// directory: others cannot change it (WhyOthersCanChange, for the running
// user), a runtime directory is the running user's own with mode 0700, and
// the running user can make entries in it. Otherwise why not, in words for
// the log. resolved receives dir with links resolved, the directory that
// was checked and so the one to use.
SString WhyTempPlaceIsRefused(const SString& dir, TempPlaceKind kind, SString& resolved);
