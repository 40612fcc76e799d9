#include "launcher/RunFiles.h"

#include "archive/LauncherFile.h"
#include "instructions/Instructions.h"
#include "launch/LaunchScript.h"
#include "launcher/Controller.h"
#include "launcher/RunState.h"

RunFiles& runFiles() {
  static RunFiles instance;
  return instance;
}

RunFiles::RunFiles() : jvmFiles_(runContext()) {}
RunFiles::~RunFiles() = default;

Instructions* RunFiles::getInstructions() {
  TagFile* chosen = launcherFile().getInstructionsFile();
  if (chosen != instructionsSource_) {
    instructions_.reset(chosen ? new Instructions(chosen, &controller()) : nullptr);
    instructionsSource_ = chosen;
  }
  return instructions_.get();
}

LaunchScript* RunFiles::getLaunchScript() {
  TagFile* chosen = launcherFile().getLaunchScriptFile();
  if (chosen != launchScriptSource_) {
    launchScript_.reset(chosen ? new LaunchScript(runContext(), chosen, 1) : nullptr);
    launchScriptSource_ = chosen;
  }
  return launchScript_.get();
}

JVMFiles& RunFiles::getJVMFiles() {
  const LauncherFile& archive = launcherFile();
  // Descriptions are only ever added to the choice, never taken back.
  const std::vector<TagFile*>& chosen = archive.getJvmDescriptionFiles();
  for (; jvmSourcesUsed_ < chosen.size(); ++jvmSourcesUsed_) {
    jvmFiles_.addJVMFile(new JVMFile(chosen[jvmSourcesUsed_], runContext()));
  }
  if (!archive.getVerifyClassName().empty()) {
    jvmFiles_.setVerifyClass(archive.getVerifyClassPath(), archive.getVerifyClassName());
  }
  return jvmFiles_;
}
