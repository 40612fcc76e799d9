// The launcher controller: scans the command line, performs what an input
// file asks for, and runs the instructions script of the archive. Its
// destruction is the clean-up at process end.
#pragma once

#include "base/Deque.h"
#include "base/SString.h"
#include "launcher/LauncherOptions.h"

// The exit status of a run whose instructions ended on their "no suitable
// JVM" path: the last FIND_JVM, VERIFY or INSTALL_JVM got no JVM and nothing
// was launched after it. No other outcome of the launcher uses it (failures
// give 255, signals 128 + their number); a launched program may still choose
// it for itself.
const int kNoJvmExitStatus = 69;

class Launcher final : private OptionRun {
 public:
  Launcher() {}
  ~Launcher();
  Launcher(const Launcher&) = delete;
  Launcher& operator=(const Launcher&) = delete;

  // Records the executable path and runs; the one place where a failure
  // ends: it is shown, logged and turned into the result -1. A signal that
  // asked the launcher to end gives 128 + its number.
  int start(const StringDeque& args, const SString& executablePath);
  int run(const StringDeque& args);
  int runInstructions();

  // The message of the failure that ended the run, as the console got it,
  // for a user who may have no console (see FailureDialog.h): a failure
  // shown and logged by start, or the no-JVM outcome. Empty when the run
  // did not fail, was silent, served a calling program (an input-file
  // action), which reads the answers itself, or runs a console program
  // whose launch script says FAILURE_DIALOG: 0.
  const SString& failureForUser() const { return failureForUser_; }

 private:
  // What the options change of the run (LauncherOptions.h).
  void failRun() override;
  void skipInstructions() override;
  void extractEmbeddedFiles() override;
  void processInputFile(const SString& value) override;
  void keepFailureForUser(const SString& message);

  int runInstructionsFlag_ = 1;
  int result_ = 0;
  // An input file asked for an action other than running the instructions,
  // or could not be read.
  bool answersForCaller_ = false;
  // The instructions ended on their "no suitable JVM" path.
  bool endedWithoutJvm_ = false;
  SString failureForUser_;
};
