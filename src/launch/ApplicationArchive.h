// The application archive that the wizard is started with
// (%APPLICATION_ARCHIVE% in the launch script): either embedded in the
// launcher, or a file next to the original launcher that is copied to a
// temporary directory first. Found once per run; every later request gets
// the same path.
#pragma once

#include "archive/LauncherFile.h"
#include "base/LauncherPaths.h"
#include "base/SString.h"

// The path found so far; empty until an archive was found.
SString& applicationArchivePath();

// Extracts every application archive embedded in archive into one new
// temporary directory; the last one extracted is the answer. Empty when the
// launcher carries none.
SString getApplicationArchive(LauncherFile& archive);

// Copies fileName, taken from the original launcher's directory (of paths),
// into a new temporary directory under its base name. Empty when it cannot
// be read or the copy cannot be created; throws LauncherException when
// writing fails.
SString copyApplicationArchive(const LauncherPaths& paths, const SString& fileName);
