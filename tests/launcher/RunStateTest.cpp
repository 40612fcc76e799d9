// The run context the launcher hands down refers to its own settings and
// archive: what the command line sets after the context was made is what
// the code below sees.
#include <gtest/gtest.h>

#include "launch/LaunchVerification.h"
#include "launcher/RunState.h"
#include "launcher/Settings.h"

TEST(RunState, TheContextSeesTheSettingsSetAfterItWasMade) {
  const RunContext& context = runContext();
  const LauncherPaths savedPaths = settings();
  const UserOptions savedOptions = settings();
  settings().javaHome = "/opt/user-jdk";
  settings().cpPrepend = "first.jar";
  settings().cpAppend = "last.jar";
  settings().launcherPath = "/tmp/lxjAbc/launcher";
  settings().origLauncherPath = "/media/cd/setup.bin";
  settings().runningFile = "/proc/self/exe";

  EXPECT_EQ(SString("/opt/user-jdk"), context.options.javaHome);
  EXPECT_EQ(SString("first.jar"), context.options.cpPrepend);
  EXPECT_EQ(SString("last.jar"), context.options.cpAppend);
  EXPECT_EQ(SString("/tmp/lxjAbc/launcher"), context.paths.launcherPath);
  EXPECT_EQ(SString("/media/cd"), context.paths.origLauncherDir());
  EXPECT_EQ(SString("/proc/self/exe"), context.paths.fileToRead());
  EXPECT_EQ(&launcherFile(), &context.archive);
  EXPECT_EQ(&launchScriptVerificationRunner(), &context.verification);
  EXPECT_EQ(&context, &runContext());

  static_cast<LauncherPaths&>(settings()) = savedPaths;
  static_cast<UserOptions&>(settings()) = savedOptions;
}
