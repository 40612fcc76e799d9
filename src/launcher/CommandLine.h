// The command line read into what it asks for before anything acts on it:
// the launcher's options in the order given, each with its value when one
// follows, and the arguments that belong to the launched program.
#pragma once

#include <vector>

#include "base/Deque.h"
#include "base/SString.h"
#include "launcher/LauncherOptions.h"

struct OptionUse {
  const LauncherOption* option;
  // False for an option that takes no value, and for one that ended the
  // command line before its value.
  bool hasValue;
  SString value;
};

struct CommandLine {
  std::vector<OptionUse> options;
  std::vector<SString> programArguments;
};

// Options come first. The first argument that is not one, or "--", ends
// them: what follows is the program's, as it is, even where it looks like
// an option (a file named -lx:in among the names a shell pattern gave).
// An option's value is the next argument, whatever it looks like.
CommandLine parseCommandLine(const StringDeque& args);

// Acts on each option in the order given, then hands the program's
// arguments on. An option that fails ends it.
void applyCommandLine(const CommandLine& line, OptionRun& run);
