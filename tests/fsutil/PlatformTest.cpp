#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdlib>
#include <string>
#include <vector>

#include "base/LauncherException.h"
#include "fsutil/FileSystemFixtures.h"
#include "fsutil/Platform.h"
#include "support/TempDir.h"

namespace {

std::vector<std::string> Entries(const StringDeque& list) {
  std::vector<std::string> result;
  for (int i = 0; i < list.count(); ++i) result.push_back(list.get(i).c_str());
  return result;
}

}  // namespace

TEST(Platform, SplitEnvListKeepsEmptyPieces) {
  const struct {
    const char* value;  // null: unset
    std::vector<std::string> want;
  } cases[] = {
      {"/a:/b", {"/a", "/b"}}, {"/a:", {"/a", ""}},  {"a::b", {"a", "", "b"}},
      {":", {"", ""}},         {"/only", {"/only"}}, {"", {}},
      {nullptr, {}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.value ? c.value : "(unset)");
    if (c.value) {
      setenv("LX_TEST_LIST", c.value, 1);
    } else {
      unsetenv("LX_TEST_LIST");
    }
    StringDeque list;
    list.add("left over");
    SplitEnvList(list, "LX_TEST_LIST");
    EXPECT_EQ(c.want, Entries(list));
  }
  unsetenv("LX_TEST_LIST");
}

TEST(Platform, SetEnvReplacesAndReachesChildren) {
  unsetenv("LX_TEST_VAR");
  EXPECT_EQ("", GetEnv("LX_TEST_VAR"));
  SetEnv("LX_TEST_VAR", "first");
  SetEnv("LX_TEST_VAR", "with space");
  EXPECT_EQ("with space", GetEnv("LX_TEST_VAR"));
  EXPECT_EQ(0, std::system("test \"$LX_TEST_VAR\" = 'with space'"));
  unsetenv("LX_TEST_VAR");
}

TEST(Platform, FileExistsFollowsLinks) {
  TempDir t;
  std::string file = t.write("file", "x");
  ASSERT_EQ(0, symlink(file.c_str(), t.file("good").c_str()));
  ASSERT_EQ(0, symlink(t.file("none").c_str(), t.file("dangling").c_str()));
  const struct {
    std::string path;
    bool exists;
  } cases[] = {
      {file, true}, {t.path(), true}, {t.file("good"), true}, {t.file("dangling"), false}, {t.file("none"), false},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.path);
    EXPECT_EQ(c.exists, FileExists(c.path.c_str()));
  }
}

TEST(Platform, MakeExecutableAddsTheExecuteBitsOnly) {
  TempDir t;
  std::string file = t.write("prog", "#!/bin/sh\n");
  ASSERT_EQ(0, chmod(file.c_str(), 0640));
  MakeExecutable(file.c_str());
  struct stat status;
  ASSERT_EQ(0, stat(file.c_str(), &status));
  EXPECT_EQ(0751u, status.st_mode & 07777);

  MakeExecutable(t.file("missing").c_str());
  EXPECT_FALSE(PathExists(t.file("missing")));
}

TEST(Platform, ReadsBigEndianNumbers) {
  const unsigned char bytes[] = {0xCA, 0x82, 0x01, 0x02, 0x80, 0x00, 0x7F, 0xFF, 0xFF, 0xFE};
  EXPECT_EQ(0xCA820102u, ReadBigEndian32(bytes));
  EXPECT_EQ(0x0102, ReadBigEndian16(bytes + 2));
  EXPECT_EQ(-32768, ReadBigEndian16(bytes + 4));
  EXPECT_EQ(32767, ReadBigEndian16(bytes + 6));
  EXPECT_EQ(-2, ReadBigEndian16(bytes + 8));
}

TEST(Platform, DiskBlocksNeededCountsAPartialBlockPerFile) {
  const struct {
    double bytes;
    long files;
    double blockSize;
    double blocks;
  } cases[] = {
      {1, 1, 4096, 1},
      {4096, 3, 4096, 4},
      {4096, 1, 4096, 1},
      {4097, 1, 4096, 2},
      {4097, 2, 4096, 3},
      {8192, 0, 4096, 2},
      {0, 1, 4096, 0},
      {6e12, 1, 1024, 5859375000.0},
      {6e12 + 1, 1, 1024, 5859375001.0},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(std::to_string(c.bytes) + " bytes, " + std::to_string(c.files) + " files");
    EXPECT_EQ(c.blocks, DiskBlocksNeeded(c.bytes, c.files, c.blockSize));
  }
}

TEST(Platform, HasEnoughDiskSpaceAsksTheDirectorysFileSystem) {
  TempDir t;
  EXPECT_TRUE(HasEnoughDiskSpace(t.path().c_str(), 1, 1));
  EXPECT_FALSE(HasEnoughDiskSpace(t.path().c_str(), 1e21, 1));
  EXPECT_TRUE(HasEnoughDiskSpace("", 1, 1));
  EXPECT_TRUE(HasEnoughDiskSpace("relative/not/used", 1, 1));
  try {
    HasEnoughDiskSpace(t.file("missing").c_str(), 1, 1);
    ADD_FAILURE() << "no exception for a missing directory";
  } catch (const LauncherException& e) {
    EXPECT_EQ("No such file or directory", e.getMessage());
  }
}

TEST(Platform, TellsANoexecFileSystem) {
  TempDir t;
  MakeDirs(t.file("noexec"));
  MakeDirs(t.file("exec"));
  Mount noexec("tmpfs", t.file("noexec"), MS_NOEXEC);
  Mount exec("tmpfs", t.file("exec"));
  if (!noexec.ok() || !exec.ok()) GTEST_SKIP() << "mounting tmpfs is not permitted here";
  EXPECT_TRUE(IsOnNoexecFileSystem(t.file("noexec").c_str()));
  EXPECT_FALSE(IsOnNoexecFileSystem(t.file("exec").c_str()));
  EXPECT_FALSE(IsOnNoexecFileSystem(t.file("missing").c_str()));
}
