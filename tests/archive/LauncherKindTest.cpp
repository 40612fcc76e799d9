#include <gtest/gtest.h>

#include <string>

#include "archive/ArchiveBytes.h"
#include "archive/LauncherKind.h"
#include "base/LauncherPaths.h"
#include "support/TempDir.h"

TEST(LauncherKind, IsTheByteBeforeTheIndexOffset) {
  TempDir dir;
  const struct {
    const char* what;
    std::string bytes;
    int kind;
  } cases[] = {
      {"kind 0", "program" + trailer(0, 0), 0},
      {"kind 255", "program" + trailer(0, 255), 255},
      {"exactly nine bytes", trailer(0, 7), 7},
      {"eight bytes", be32(0) + be32(0xCA82CA82u), -1},
      {"empty", "", -1},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    EXPECT_EQ(c.kind, getLauncherKind(dir.write("f", c.bytes).c_str()));
  }
  EXPECT_EQ(-1, getLauncherKind(dir.file("missing").c_str()));
}

TEST(LauncherKind, AnswerForTheRunningLauncherIsRememberedFromTheFileItRunsFrom) {
  TempDir dir;
  std::string launcher = dir.write("launcher", "program" + trailer(0, 3));
  std::string running = dir.write("running", "program" + trailer(0, 6));
  std::string other = dir.write("other", "program" + trailer(0, 4));
  LauncherPaths paths;
  paths.launcherPath = launcher.c_str();
  EXPECT_EQ(3, runningLauncherKind(paths));
  dir.write("launcher", "program" + trailer(0, 9));
  dir.write("other", "program" + trailer(0, 5));
  EXPECT_EQ(3, runningLauncherKind(paths));
  EXPECT_EQ(9, getLauncherKind(launcher.c_str()));
  EXPECT_EQ(5, getLauncherKind(other.c_str()));

  // Another launcher is read afresh, from the file that runs when it is named.
  paths.launcherPath = other.c_str();
  paths.runningFile = running.c_str();
  EXPECT_EQ(6, runningLauncherKind(paths));
}
