// A wizard that cannot open a window, because there is no display or the
// JVM is a headless one, would die with a HeadlessException the user
// cannot act on. Many wizards have a console mode instead; the launch
// script's CONSOLE_MODE_ARGS name the words that start it, and they are put
// before the user's own arguments when windows cannot be opened.
#pragma once

#include "base/Deque.h"
#include "base/SString.h"

class TagFile;

// Every value of the launch script's CONSOLE_MODE_ARGS, as written.
StringDeque consoleModeValues(const TagFile& script);
// The words of those values, split at blanks; a word in double quotes may
// hold blanks, with "" standing for one quote. Throws LauncherException
// ("Launch script error: ...") for a quote that is never closed.
StringDeque consoleModeWords(const StringDeque& values);

// Whether the console-mode words apply to a launch with the JVM at
// javaHome: when no display is there, or the JVM cannot open windows. The
// log says which case applied, or that neither did.
bool consoleModeNeeded(const SString& javaHome);
