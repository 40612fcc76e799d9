#include "launch/LaunchVerification.h"

#include "launch/LaunchScript.h"

namespace {

class LaunchScriptVerificationRunner final : public VerificationRunner {
 public:
  VerificationRun run(const SString& command, JVMFile* jvm, int timeLimitSeconds) override {
    // The verification's own class path only: the archive's class path
    // entries are the wizard's.
    LaunchScript script(command, 1, 0);
    script.setTimeLimit(timeLimitSeconds);
    script.setOutputLimit(kMostVerificationOutputBytes);
    script.launch(jvm, nullptr, 0);
    VerificationRun result;
    result.timedOut = script.limitExpired();
    result.outputExceeded = script.outputLimitExceeded();
    result.output = script.getStdoutText();
    return result;
  }
};

}  // namespace

VerificationRunner& launchScriptVerificationRunner() {
  static LaunchScriptVerificationRunner runner;
  return runner;
}
