// The launcher's own command-line options, one row each. The scan of the
// command line and -lx:help both read this table, so no option can be
// recognised without being listed, or listed without being recognised.
#pragma once

#include "base/SString.h"

// What an option changes of the run in progress, beyond the process-wide
// settings it writes itself. The launcher is one; a test can record.
class OptionRun {
 public:
  // The result becomes -1; instructions that still run replace it.
  virtual void failRun() = 0;
  // The instructions do not run after the options.
  virtual void skipInstructions() = 0;
  // -lx:extract: every embedded file into the current directory, at once.
  virtual void extractEmbeddedFiles() = 0;
  // -lx:in: the input file's action, at once, as the value names it.
  virtual void processInputFile(const SString& value) = 0;

 protected:
  ~OptionRun() = default;
};

// Options listed by -lx:help name a catalogue text; others this.
const int kNotListed = -1;

struct LauncherOption {
  // Compared with the whole argument, case and all.
  const char* name;
  // What -lx:help calls the value; null when the option takes none.
  const char* valueName;
  // The option's work; value is empty for an option that takes none.
  void (*act)(OptionRun& run, const SString& value);
  // An option that takes a value but ends the command line: null when it is
  // then ignored.
  void (*actWithoutValue)(OptionRun& run, const char* name);
  // The catalogue text -lx:help shows, or kNotListed.
  int helpText;
};

// In the order -lx:help lists them.
extern const LauncherOption kLauncherOptions[];
extern const int kLauncherOptionCount;

// The row of the option argument spells exactly; null when it is none.
const LauncherOption* findLauncherOption(const SString& argument);
