// The launcher-kind byte just before the index offset in the trailer.
#pragma once

#include "base/LauncherPaths.h"
#include "base/SString.h"

// The byte 9 bytes before the end of the file at path, 0 to 255, or -1 when
// the file cannot be opened or is too short.
int getLauncherKind(const SString& path);
// The running launcher's kind, read from the file it runs from once and
// remembered for its launcherPath.
int runningLauncherKind(const LauncherPaths& paths);
