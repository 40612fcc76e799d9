// Paths the launcher finds (the temporary directory, a JVM home on disk)
// end up in commands it runs: in a shell command inside double quotes, where
// \, ", $ and the back quote act; in the first word of the command line that
// starts an embedded launcher, which a quote ends; and in the launch
// script's macro passes, where %, @ and # act. A newline ends a line of
// either. A path holding one of them could run commands nobody wrote or
// break the expansion, so such a path is not used at all rather than
// escaped for each of the places it reaches.
#pragma once

#include "base/SString.h"

bool IsCommandSafePath(const SString& path);
