// A run context of a test's own: the launcher's paths, the user's options
// and an archive that the test sets as it needs, with the verification
// through a launch script that the launcher itself uses.
#pragma once

#include "archive/LauncherFile.h"
#include "base/LauncherPaths.h"
#include "base/UserOptions.h"
#include "jvm/RunContext.h"
#include "launch/LaunchVerification.h"

struct TestRunContext {
  TestRunContext() = default;
  // The context refers to the members of this very object.
  TestRunContext(const TestRunContext&) = delete;
  TestRunContext& operator=(const TestRunContext&) = delete;

  // The launcher at path, its index read afresh (without the tag files).
  void loadLauncher(const SString& path) {
    paths.launcherPath = path;
    archive = LauncherFile();
    archive.loadIndex(paths.fileToRead(), false);
  }

  LauncherPaths paths;
  UserOptions options;
  LauncherFile archive;
  RunContext context{paths, options, archive, launchScriptVerificationRunner()};
};
