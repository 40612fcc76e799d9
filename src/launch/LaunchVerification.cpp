#include "launch/LaunchVerification.h"

#include <initializer_list>

#include "base/Log.h"
#include "jvm/JVMFile.h"
#include "launch/LaunchScript.h"
#include "launch/SideFiles.h"
#include "tagfile/TagFile.h"

namespace {

class LaunchScriptVerificationRunner final : public VerificationRunner {
 public:
  VerificationRun run(const SString& command, JVMFile& jvm, int timeLimitSeconds) override {
    // The verification's own class path only: the archive's class path
    // entries are the wizard's.
    LaunchScript script(jvm.context(), command, 1, 0);
    script.setTimeLimit(timeLimitSeconds);
    script.setOutputLimit(kMostVerificationOutputBytes);
    script.launch(&jvm, nullptr, 0);
    VerificationRun result;
    result.timedOut = script.limitExpired();
    result.outputExceeded = script.outputLimitExceeded();
    result.output = script.getStdoutText();
    return result;
  }

  bool classPathHasOtherEntries(JVMFile& jvm) override {
    const RunContext& context = jvm.context();
    SString source;
    if (!trim(context.options.cpPrepend, kWhiteSpace).empty()) {
      source = "-cp:p";
    } else if (!trim(context.options.cpAppend, kWhiteSpace).empty()) {
      source = "-cp:a";
    } else if (!jvm.getTagFile()->getValue("JVM_CLASSPATH", 0).empty()) {
      source = "the description's JVM_CLASSPATH";
    } else {
      for (const char* suffix : {".cp1", ".cp", ".cp2"}) {
        if (addsEntries(sideFilePath(context.paths, suffix))) {
          source = sideFilePath(context.paths, suffix);
          break;
        }
      }
    }
    if (source.empty()) return false;
    if (source != reported_) {
      reported_ = source;
      log("The store of verified JVMs is not used: the verification's class path has entries from " + source + ".",
          INFO);
    }
    return true;
  }

 private:
  static bool addsEntries(const SString& sideFile) {
    StringDeque lines;
    if (!readTextLines(sideFile, lines)) return false;
    for (int i = 0; i < lines.count(); ++i) {
      if (!lines.get(i).empty()) return true;
    }
    return false;
  }

  SString reported_;
};

}  // namespace

VerificationRunner& launchScriptVerificationRunner() {
  static LaunchScriptVerificationRunner runner;
  return runner;
}
