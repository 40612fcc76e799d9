#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "base/LauncherPaths.h"
#include "launch/SideFiles.h"
#include "support/TempDir.h"

TEST(SideFiles, NamedAfterTheOriginalLauncher) {
  const struct {
    const char* launcher;
    const char* want;
  } cases[] = {
      {"/opt/setup.bin", "/opt/setup.sp"},
      {"/opt/setup", "/opt/setup.sp"},
      {"/opt/v1.2/setup", "/opt/v1.2/setup.sp"},  // a dot in a directory is no extension
      {"/opt/my.setup.bin", "/opt/my.setup.sp"},
      {"C:\\dir\\setup.exe", "C:\\dir\\setup.sp"},
      {"setup.bin", "setup.bin.sp"},  // without a directory the extension stays
      {"", ".sp"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.launcher);
    LauncherPaths paths;
    paths.origLauncherPath = c.launcher;
    EXPECT_EQ(SString(c.want), sideFilePath(paths, ".sp"));
  }
}

TEST(SideFiles, LinesAreTrimmedAndLineEndsDropped) {
  TempDir dir;
  std::string path = dir.write("list", "  a.jar \r\n\r\n\tb c\t\nlast");
  StringDeque lines;
  ASSERT_TRUE(readTextLines(path.c_str(), lines));
  std::vector<std::string> got;
  for (int i = 0; i < lines.count(); ++i) got.push_back(lines.get(i).c_str());
  EXPECT_EQ((std::vector<std::string>{"a.jar", "", "b c", "last"}), got);

  lines.add("stale");
  EXPECT_FALSE(readTextLines(dir.file("missing").c_str(), lines));
  EXPECT_EQ(0, lines.count());
}
