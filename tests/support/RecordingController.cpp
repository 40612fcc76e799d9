#include "support/RecordingController.h"

#include "base/LauncherException.h"

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

FoundJvm RecordingController::findJVM(bool showUI, bool showFailMsg) {
  record("findJVM(" + flag(showUI) + ", " + flag(showFailMsg) + ")");
  FoundJvm found;
  if (jvmHome.empty()) return found;
  found.found = true;
  found.home = jvmHome.c_str();
  found.descriptionFile = jvmFile.c_str();
  return found;
}

void RecordingController::initializeUI() { record("initializeUI()"); }

InstalledJvm RecordingController::installBundledJVM(long mode) {
  record("installBundledJVM(" + std::to_string(mode) + ")");
  InstalledJvm installed;
  if (installedJvmFile.empty()) return installed;
  installed.installed = true;
  installed.descriptionFile = installedJvmFile.c_str();
  return installed;
}

int RecordingController::launchJVMFile(const SString& path, short seconds) {
  record("launchJVMFile(" + std::string(path.c_str(), path.length()) + ", " + std::to_string(seconds) + ")");
  return nextLaunchResult();
}

int RecordingController::launchInternal(long fileId, short seconds) {
  record("launchInternal(" + std::to_string(fileId) + ", " + std::to_string(seconds) + ")");
  return nextLaunchResult();
}

VerifiedJvm RecordingController::verifyJVMFile(bool showUI, bool showFailMsg, long fileId) {
  record("verifyJVMFile(" + flag(showUI) + ", " + flag(showFailMsg) + ", " + std::to_string(fileId) + ")");
  VerifiedJvm verified;
  if (verifiedHome.empty()) return verified;
  verified.valid = true;
  verified.home = verifiedHome.c_str();
  return verified;
}

void RecordingController::executeEmbeddedLauncher(long position) {
  record("executeEmbeddedLauncher(" + std::to_string(position) + ")");
}
