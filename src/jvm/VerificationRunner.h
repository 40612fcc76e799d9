// How a candidate JVM's verification command is run. It goes through a
// launch script, as the wizard's command does (the %CP% function, the
// description's environment), so the candidate is tried the way it will
// be used; launch scripts live above this folder, so the launcher hands the
// searches a runner that does it, in the run context.
#pragma once

#include <cstddef>

#include "base/SString.h"

class JVMFile;

struct VerificationRun {
  bool timedOut = false;
  // The command printed more than it may; it was stopped, and the output
  // holds only what came up to the limit.
  bool outputExceeded = false;
  SString output;  // what the command wrote to its standard output
};

// A verification class prints a few short lines. A candidate that prints
// far more is broken or hostile: keeping all of it would let it take the
// launcher's memory.
const size_t kMostVerificationOutputBytes = 4 * 1024 * 1024;

class VerificationRunner {
 public:
  virtual ~VerificationRunner() = default;
  // Runs command, a launch-script command for jvm, for at most
  // timeLimitSeconds and collects its standard output, at most
  // kMostVerificationOutputBytes of it (and as much of its error output).
  virtual VerificationRun run(const SString& command, JVMFile& jvm, int timeLimitSeconds) = 0;
  // Whether the command's class path holds entries besides the
  // verification class (given by the user, side files or the description).
  // Their files could answer in its place, and the store of verified JVMs
  // cannot watch them, so such an answer is neither taken from the store
  // nor kept there.
  virtual bool classPathHasOtherEntries(JVMFile& /*jvm*/) { return false; }
};
