#include "support/RecordingController.h"

#include "base/LauncherException.h"
#include "instructions/Variables.h"

namespace {

std::string flag(bool b) { return b ? "1" : "0"; }

}  // namespace

void RecordingController::record(const std::string& call) {
  calls.push_back(call);
  if (!failure.empty()) throw LauncherException(failure.c_str());
}

int RecordingController::nextLaunchResult() {
  if (launchResults.empty()) return 0;
  int result = launchResults.front();
  launchResults.pop_front();
  return result;
}

void RecordingController::findJVM(bool showUI, bool showFailMsg) {
  record("findJVM(" + flag(showUI) + ", " + flag(showFailMsg) + ")");
  setStringVariable(1, "");
  setStringVariable(2, "");
  setNumericVariable(1, 0);
  if (jvmHome.empty()) return;
  setStringVariable(1, jvmHome.c_str());
  setStringVariable(2, jvmFile.c_str());
  setNumericVariable(1, 1);
}

void RecordingController::initializeUI() { record("initializeUI()"); }

void RecordingController::installBundledJVM(long mode) {
  record("installBundledJVM(" + std::to_string(mode) + ")");
  setNumericVariable(1, 0);
  setStringVariable(1, "");
  if (installedJvmFile.empty()) return;
  setNumericVariable(1, 1);
  setStringVariable(1, installedJvmFile.c_str());
}

int RecordingController::launchJVMFile(const SString& path, short seconds) {
  record("launchJVMFile(" + std::string(path.c_str(), path.length()) + ", " + std::to_string(seconds) + ")");
  return nextLaunchResult();
}

int RecordingController::launchInternal(long fileId, short seconds) {
  record("launchInternal(" + std::to_string(fileId) + ", " + std::to_string(seconds) + ")");
  return nextLaunchResult();
}

void RecordingController::verifyJVMFile(bool showUI, bool showFailMsg, long fileId) {
  record("verifyJVMFile(" + flag(showUI) + ", " + flag(showFailMsg) + ", " + std::to_string(fileId) + ")");
  setNumericVariable(1, 0);
  if (verifiedHome.empty()) return;
  setNumericVariable(1, 1);
  setStringVariable(1, verifiedHome.c_str());
}

void RecordingController::executeEmbeddedLauncher(long position) {
  record("executeEmbeddedLauncher(" + std::to_string(position) + ")");
}
