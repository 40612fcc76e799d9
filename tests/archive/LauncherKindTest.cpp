#include <gtest/gtest.h>

#include <string>

#include "archive/ArchiveBytes.h"
#include "archive/LauncherKind.h"
#include "base/Settings.h"
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

TEST(LauncherKind, AnswerForTheRunningLauncherIsRememberedOthersAreNot) {
  TempDir dir;
  std::string launcher = dir.write("launcher", "program" + trailer(0, 3));
  std::string other = dir.write("other", "program" + trailer(0, 4));
  settings().launcherPath = launcher.c_str();
  EXPECT_EQ(3, getLauncherKind(launcher.c_str()));
  dir.write("launcher", "program" + trailer(0, 9));
  dir.write("other", "program" + trailer(0, 5));
  EXPECT_EQ(3, getLauncherKind(launcher.c_str()));
  EXPECT_EQ(5, getLauncherKind(other.c_str()));
  settings().launcherPath = other.c_str();
  EXPECT_EQ(5, getLauncherKind(other.c_str()));
  settings().launcherPath = "";
}
