#include <dirent.h>
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/resource.h>
#include <sys/stat.h>

#include <algorithm>
#include <cerrno>
#include <string>
#include <vector>

#include "base/FileReplacement.h"
#include "support/Processes.h"
#include "support/TempDir.h"

namespace {

std::vector<std::string> NamesIn(const std::string& dir) {
  std::vector<std::string> names;
  DIR* d = opendir(dir.c_str());
  if (d == nullptr) return names;
  while (dirent* entry = readdir(d)) {
    std::string name = entry->d_name;
    if (name != "." && name != "..") names.push_back(name);
  }
  closedir(d);
  std::sort(names.begin(), names.end());
  return names;
}

mode_t ModeOf(const std::string& path) {
  struct stat status;
  return stat(path.c_str(), &status) == 0 ? status.st_mode & 07777 : 0;
}

const std::vector<std::string> kOnlyTheTarget = {"store"};

}  // namespace

// The new file stands beside the target under its own name until it is
// committed; then it is the target, with the mode asked for, and nothing
// else is left.
TEST(FileReplacement, ReplacesTheTargetWholeOnlyWhenCommitted) {
  for (bool targetExisted : {true, false}) {
    SCOPED_TRACE(targetExisted);
    TempDir dir;
    const std::string target = dir.file("store");
    if (targetExisted) dir.write("store", "old");
    FileReplacement replacement(target.c_str(), ".");
    ASSERT_NE(nullptr, replacement.stream());
    const std::string beside = replacement.path().c_str();
    EXPECT_EQ(0u, beside.rfind(target + ".", 0)) << beside;
    EXPECT_EQ(target.size() + 7, beside.size()) << beside;
    std::fputs("new", replacement.stream());
    ASSERT_TRUE(replacement.finish(0640));
    EXPECT_EQ("new", ReadFile(beside));
    EXPECT_EQ(targetExisted ? "old" : "", ReadFile(target));
    ASSERT_TRUE(replacement.commit());
    EXPECT_EQ("new", ReadFile(target));
    EXPECT_EQ(0640u, ModeOf(target));
    EXPECT_EQ(kOnlyTheTarget, NamesIn(dir.path()));
  }
}

// A file may not grow past a limit in this process: the write fails as on a
// full disk, and the caller learns why after the clean-up.
TEST(FileReplacement, AFailedWriteLeavesTheOldFileAndNothingBesideIt) {
  TempDir dir;
  const std::string target = dir.write("store", "old");
  int status = InForkedProcess([&] {
    signal(SIGXFSZ, SIG_IGN);
    struct rlimit small = {1000, 1000};
    if (setrlimit(RLIMIT_FSIZE, &small) != 0) return 2;
    {
      FileReplacement replacement(target.c_str(), ".");
      if (replacement.stream() == nullptr) return 3;
      const std::string text(20000, 'n');
      if (std::fwrite(text.data(), 1, text.size(), replacement.stream()) == text.size() && replacement.finish(0600))
        return 4;
    }
    return errno == EFBIG ? 0 : 5;
  });
  EXPECT_EQ(0, status);
  EXPECT_EQ("old", ReadFile(target));
  EXPECT_EQ(kOnlyTheTarget, NamesIn(dir.path()));
}

TEST(FileReplacement, AFailedRenameLeavesTheTargetAndNothingBesideIt) {
  TempDir dir;
  const std::string target = dir.file("store");
  ASSERT_EQ(0, mkdir(target.c_str(), 0700));
  {
    FileReplacement replacement(target.c_str(), ".");
    ASSERT_NE(nullptr, replacement.stream());
    ASSERT_TRUE(replacement.finish(0600));
    EXPECT_FALSE(replacement.commit());
  }
  EXPECT_EQ(EISDIR, errno);
  EXPECT_EQ(kOnlyTheTarget, NamesIn(dir.path()));
  EXPECT_TRUE(NamesIn(target).empty());
}

TEST(FileReplacement, ATargetInAMissingDirectoryGivesNoStream) {
  TempDir dir;
  FileReplacement replacement(dir.file("missing/store").c_str(), ".");
  EXPECT_EQ(nullptr, replacement.stream());
  EXPECT_EQ(ENOENT, errno);
  EXPECT_TRUE(NamesIn(dir.path()).empty());
}
