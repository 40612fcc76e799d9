// How a candidate JVM's verification command is run. It goes through a
// launch script, as the wizard's command does (the %CP% function, the
// description's environment), so the candidate is tried the way it will
// be used; launch scripts live above this folder, so the launcher hands the
// searches a runner that does it.
#pragma once

#include "base/SString.h"

class JVMFile;

struct VerificationRun {
  bool timedOut = false;
  SString output;  // what the command wrote to its standard output
};

class VerificationRunner {
 public:
  virtual ~VerificationRunner() = default;
  // Runs command, a launch-script command for jvm, for at most
  // timeLimitSeconds and collects its standard output.
  virtual VerificationRun run(const SString& command, JVMFile* jvm, int timeLimitSeconds) = 0;
};

// The runner every verification uses; set before the first search.
void setVerificationRunner(VerificationRunner* runner);
VerificationRunner* verificationRunner();
