// The commands of the instructions language. Each reads its own arguments
// from the rest of the script line and calls the controller.
#pragma once

#include "base/SString.h"

class Instructions;

// Runs command with the line it was read from; pos is just after the
// command word. Returns false when command names no command.
bool runCommand(Instructions& script, const SString& command, const SString& line, SString::size_type pos);

// Whether a line that starts with word runs (a command, or the comment
// mark "//"), for tools that check a script without running it.
bool isCommandName(const SString& word);
