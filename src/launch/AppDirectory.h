// The program's own folder (%APP_DIR% in the launch script): carried in the
// launcher as one entry and unpacked into a new temporary directory the
// first time a command asks for it. Every later request gets the same path.
#pragma once

#include "archive/LauncherFile.h"
#include "base/SString.h"

// Unpacks every folder that archive carries side by side into one new
// temporary directory; the first one is the answer. Empty when the launcher
// carries none.
SString getAppDirectory(LauncherFile& archive);
