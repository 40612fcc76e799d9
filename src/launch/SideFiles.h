// Optional text files next to the original launcher file, named after it
// with another extension: setup.bin has setup.sp (system properties),
// setup.ja (java arguments), setup.cp1, setup.cp and setup.cp2 (class path
// entries). They let an administrator adjust a launch without repacking.
#pragma once

#include "base/Deque.h"
#include "base/LauncherPaths.h"
#include "base/SString.h"

// paths.origLauncherPath with its extension replaced by suffix; a name
// without an extension, or a path without a directory, keeps what it has.
SString sideFilePath(const LauncherPaths& paths, const char* suffix);

// Fills lines with the file's lines, each trimmed of blanks, tabs and line
// ends, empty ones included. False, with no lines, when the file cannot be
// opened.
bool readTextLines(const SString& path, StringDeque& lines);
