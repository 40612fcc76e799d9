#include "launcher/RunState.h"

#include "launch/LaunchVerification.h"
#include "launcher/Settings.h"

LauncherFile& launcherFile() {
  static LauncherFile instance;
  return instance;
}

const RunContext& runContext() {
  static const RunContext context{settings(), settings(), launcherFile(), launchScriptVerificationRunner()};
  return context;
}
