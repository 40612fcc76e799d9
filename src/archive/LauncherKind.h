// The launcher-kind byte just before the index offset in the trailer.
#pragma once

#include "base/SString.h"

// The byte 9 bytes before the end of the file at path, 0 to 255, or -1 when
// the file cannot be opened or is too short. The answer for
// settings().launcherPath is read once and remembered.
int getLauncherKind(const SString& path);
