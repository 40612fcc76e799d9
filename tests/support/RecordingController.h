// A stand-in for the launcher's controller that runs nothing: it records
// every call as a line of text and returns what the real operation would,
// as the test configures. Unit tests and the fuzzing
// of scripts use it.
#pragma once

#include <deque>
#include <string>
#include <vector>

#include "instructions/ControllerOperations.h"

class RecordingController final : public ControllerOperations {
 public:
  FoundJvm findJVM(bool showUI, bool showFailMsg) override;
  void initializeUI() override;
  InstalledJvm installBundledJVM(long mode) override;
  int launchJVMFile(const SString& path, short seconds) override;
  int launchInternal(long fileId, short seconds) override;
  VerifiedJvm verifyJVMFile(bool showUI, bool showFailMsg, long fileId) override;
  void executeEmbeddedLauncher(long position) override;

  // Every call in order, such as "findJVM(1, 0)" or "launchJVMFile(/x.jvm, 5)".
  std::vector<std::string> calls;

  // What findJVM finds: with an empty jvmHome it finds nothing.
  std::string jvmHome;
  std::string jvmFile;
  // What installBundledJVM installs: with an empty path nothing.
  std::string installedJvmFile;
  // The JVM home that verifyJVMFile accepts: with an empty home none.
  std::string verifiedHome;
  // The results of the launches in turn; 0 once they are used up.
  std::deque<int> launchResults;
  // When set, every operation throws a LauncherException with this text
  // after recording the call, as a failing operation would.
  std::string failure;

 private:
  void record(const std::string& call);
  int nextLaunchResult();
};
