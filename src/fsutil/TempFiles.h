// Everything the launcher extracts or generates lives in uniquely named
// temporary files and directories ("lxj" and six letters or digits under the
// temporary root), registered when created and removed when the run ends.
#pragma once

#include "base/SString.h"

// Sets the base directory when path names an existing directory; otherwise
// does nothing.
void SetTempRoot(const SString& path);
// The base directory; "/tmp" when none was set (and from then on). A
// relative directory is kept made absolute.
SString GetTempRoot();
// The directory temporary names are made in: TMPDIR when it names a
// directory, else the base directory when it exists, else /tmp (unless
// UseExecutableTempDirectory moved it); absolute, with links resolved.
// Only a place that others cannot change and the user can write is used
// (WhyTempPlaceIsRefused): one that is not is skipped, with the reason in
// the log, for the next that is, of /var/tmp, $XDG_RUNTIME_DIR and a
// private directory in the user's cache after those. Throws
// LauncherException when none is, naming the first place refused and why
// (all are in the log), and when the directory holds a character that
// cannot be passed on safely in a command line (a quote, $, the back
// quote, a backslash, %, @, # or a line break).
SString TempDirectory();

// Makes temporary names, from now on, in a directory that allows running
// programs, for a purpose that needs one ("the JVM installer runs from
// it"): the usual directory when it allows them, else the first that does
// of TMPDIR, the -lx:tempdir directory, /tmp, /var/tmp, $XDG_RUNTIME_DIR and
// a private directory in the user's cache, among those that pass the same
// check as the usual one. The move and its reason are logged. Throws
// LauncherException naming the directories tried when none allows running
// programs.
void UseExecutableTempDirectory(const char* purpose);

// A new directory (mode 0700) or empty file (mode 0600), whatever the umask.
SString CreateTempDir();
SString CreateTempFile();
void UnregisterTempFile(const SString& path);
void UnregisterTempDir(const SString& path);

// The clean-up at exit: registered files, then registered directories,
// then the launcher's own executable when it was named below.
void RemoveTempFiles();
// A launcher started with -lx:orig was extracted into a temporary directory
// by another launcher, which handed that directory over to it: the clean-up
// removes path, its executable, and then the directory, if empty by now.
void RemoveOwnExecutableAtExit(const SString& path);
// Deletes a directory with everything below it, or a single file, as
// DeleteFullDir does: however deep, never through a link, and what stays
// is logged.
void RemovePath(const SString& path);
