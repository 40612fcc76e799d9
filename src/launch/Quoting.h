// Quoting a value so that it reaches a program as one argument, byte for
// byte, in the two kinds of command line the launcher writes.
#pragma once

#include "base/SString.h"

// One word for /bin/sh, in double quotes: inside them the shell still acts
// on \, ", $ and the back quote, so each of them gets a backslash.
SString quoteForShell(const SString& value);

// One word for CommandLineSplitter (used where the process image is
// replaced without a shell): it reads a backslash followed by a quote or a
// backslash as that character, so both are escaped. Not for the first word
// of a command line, whose backslashes the splitter leaves as they are.
SString quoteForSplitter(const SString& value);
