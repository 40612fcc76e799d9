#include <fcntl.h>
#include <gtest/gtest.h>
#include <limits.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <string>
#include <vector>

#include "fsutil/DeleteFullDir.h"
#include "fsutil/FileSystemFixtures.h"
#include "support/Processes.h"
#include "support/TempDir.h"

namespace {

std::vector<std::string> Warnings(const CapturedLog& log) {
  std::vector<std::string> result;
  for (const std::string& line : log.lines()) {
    if (line.rfind("WARNING: ", 0) == 0) result.push_back(line);
  }
  return result;
}

std::vector<std::string> Sorted(std::vector<std::string> v) {
  std::sort(v.begin(), v.end());
  return v;
}

std::vector<std::string> Strings(const StringDeque& deque) {
  std::vector<std::string> result;
  for (int i = 0; i < deque.count(); ++i) result.push_back(deque.get(i).c_str());
  return result;
}

// A chain of directories of one name below dir, each holding a file "f",
// made relative to open directories: the deeper ones lie beyond any full
// path. Holds the deepest one open, for planting more there.
class DeepTree {
 public:
  DeepTree(const std::string& dir, int depth, const std::string& name = "level")
      : path_(dir), deepest_(open(dir.c_str(), O_RDONLY | O_DIRECTORY)) {
    for (int i = 0; i < depth && deepest_ >= 0; ++i) {
      mkdirat(deepest_, name.c_str(), 0755);
      int next = openat(deepest_, name.c_str(), O_RDONLY | O_DIRECTORY);
      close(deepest_);
      deepest_ = next;
      path_ += "/" + name;
      close(openat(deepest_, "f", O_WRONLY | O_CREAT, 0644));
    }
    if (deepest_ < 0) ADD_FAILURE() << "could not make the tree below " << dir;
  }
  ~DeepTree() {
    if (deepest_ >= 0) close(deepest_);
  }
  DeepTree(const DeepTree&) = delete;
  DeepTree& operator=(const DeepTree&) = delete;

  // The deepest directory's full path: a string only, the system refuses it.
  const std::string& path() const { return path_; }
  int deepest() const { return deepest_; }

 private:
  std::string path_;
  int deepest_;
};

}  // namespace

TEST(DeleteFullDir, RemovesATreeFarDeeperThanAnyPathTheSystemAccepts) {
  TempDir outside;
  std::string kept = outside.write("precious", "x");
  TempDir t;
  // A start of some 1,000 characters, as a long TMPDIR makes, and paths of
  // 7,000 below it.
  std::string start = t.path();
  while (start.size() < 1000) start += "/" + std::string(120, 's');
  start += "/tree";
  MakeDirs(start);
  DeepTree tree(start, 60, std::string(100, 'd'));
  ASSERT_GT(tree.path().size(), static_cast<size_t>(PATH_MAX));
  // Links planted at the bottom go themselves, not what they point to.
  ASSERT_EQ(0, symlinkat(outside.path().c_str(), tree.deepest(), "to-dir"));
  ASSERT_EQ(0, symlinkat(kept.c_str(), tree.deepest(), "to-file"));
  ASSERT_EQ(0, symlinkat("../..", tree.deepest(), "up"));
  CapturedLog log(t.file("log"));

  DeleteFullDir removal;
  EXPECT_TRUE(removal.remove(start.c_str()));
  EXPECT_FALSE(PathExists(start));
  EXPECT_TRUE(PathExists(kept));
  EXPECT_EQ(std::vector<std::string>{}, log.lines());
  EXPECT_EQ(0, removal.failed().count());
}

// One descriptor held per level would run out long before the bottom.
TEST(DeleteFullDir, HoldsAFewDescriptorsHoweverDeepTheTree) {
  TempDir t;
  MakeDirs(t.file("tree"));
  { DeepTree tree(t.file("tree"), 100); }
  int status = InForkedProcess([&] {
    for (int fd = 3; fd < 1024; ++fd) close(fd);
    struct rlimit limit;
    if (getrlimit(RLIMIT_NOFILE, &limit) != 0) return 2;
    limit.rlim_cur = 16;
    if (setrlimit(RLIMIT_NOFILE, &limit) != 0) return 3;
    DeleteFullDir removal;
    return removal.remove(t.file("tree").c_str()) ? 0 : 1;
  });
  EXPECT_EQ(0, status);
  EXPECT_FALSE(PathExists(t.file("tree")));
}

TEST(DeleteFullDir, RemovesLinksWithoutFollowingThem) {
  TempDir outside;
  std::string kept = outside.write("precious", "x");
  TempDir t;
  MakeDirs(t.file("tree/sub"));
  ASSERT_EQ(0, symlink(outside.path().c_str(), t.file("tree/sub/to-dir").c_str()));
  ASSERT_EQ(0, symlink(kept.c_str(), t.file("tree/to-file").c_str()));
  ASSERT_EQ(0, symlink(t.file("missing").c_str(), t.file("tree/dangling").c_str()));
  // A link given as the start goes itself too.
  ASSERT_EQ(0, symlink(outside.path().c_str(), t.file("start-link").c_str()));
  CapturedLog log(t.file("log"));

  DeleteFullDir removal;
  EXPECT_TRUE(removal.remove(t.file("tree").c_str()));
  EXPECT_TRUE(removal.remove(t.file("start-link").c_str()));
  EXPECT_FALSE(PathExists(t.file("tree")));
  EXPECT_FALSE(PathExists(t.file("start-link")));
  EXPECT_TRUE(PathExists(kept));
  EXPECT_EQ(std::vector<std::string>{}, log.lines());
}

TEST(DeleteFullDir, OneStuckFileCostsTwoWarningsAndKeepsOnlyItsAncestors) {
  TempDir t;
  Touch(t.file("tree/a.txt"));
  Touch(t.file("tree/sub/deeper/c.txt"));
  std::string stuck = Touch(t.file("tree/lib64/keep"));
  // A name prefix of the stuck directory, not its ancestor: it goes too,
  // whether it is read before lib64 or after it.
  MakeDirs(t.file("tree/lib"));
  ASSERT_EQ(0, chmod(t.file("tree/lib64").c_str(), 0555));
  MakeDirs(t.file("probe"));
  ASSERT_EQ(0, chmod(t.file("probe").c_str(), 0));
  CapturedLog log(t.file("log"));
  {
    PermissionChecksEnforced enforced;
    if (!PermissionChecksEnforced::holdFor(t.file("probe"))) {
      GTEST_SKIP() << "this process can change a read-only directory (no way to drop the override here)";
    }
    DeleteFullDir removal;
    EXPECT_FALSE(removal.remove(t.file("tree").c_str()));
    ASSERT_EQ(1, removal.failed().count());
    EXPECT_EQ(t.file("tree/lib64"), removal.failed().get(0).c_str());
  }
  const std::vector<std::string> want = {
      "WARNING: Could not delete " + stuck + " :  Permission denied",
      "WARNING: Could not delete " + t.file("tree/lib64") + " :  Directory not empty",
  };
  EXPECT_EQ(want, Warnings(log));
  EXPECT_TRUE(PathExists(stuck));
  for (const char* gone : {"tree/a.txt", "tree/sub", "tree/lib"}) EXPECT_FALSE(PathExists(t.file(gone))) << gone;
  chmod(t.file("tree/lib64").c_str(), 0755);
}

// What stays far below any full path is named by its full path all the
// same: a clean-up that fails silently leaves the user nothing to go by.
TEST(DeleteFullDir, NamesWhatStaysAtAnyDepth) {
  TempDir t;
  MakeDirs(t.file("tree"));
  MakeDirs(t.file("probe"));
  ASSERT_EQ(0, chmod(t.file("probe").c_str(), 0));
  DeepTree tree(t.file("tree"), 50, std::string(100, 'd'));
  ASSERT_GT(tree.path().size(), static_cast<size_t>(PATH_MAX));
  ASSERT_EQ(0, fchmod(tree.deepest(), 0555));
  CapturedLog log(t.file("log"));
  {
    PermissionChecksEnforced enforced;
    if (!PermissionChecksEnforced::holdFor(t.file("probe"))) {
      GTEST_SKIP() << "this process can change a read-only directory (no way to drop the override here)";
    }
    DeleteFullDir removal;
    EXPECT_FALSE(removal.remove(t.file("tree").c_str()));
    EXPECT_EQ(std::vector<std::string>{tree.path()}, Strings(removal.failed()));
  }
  const std::vector<std::string> want = {
      "WARNING: Could not delete " + tree.path() + "/f :  Permission denied",
      "WARNING: Could not delete " + tree.path() + " :  Directory not empty",
  };
  EXPECT_EQ(want, Warnings(log));
  EXPECT_FALSE(PathExists(t.file("tree/" + std::string(100, 'd') + "/f")));
  fchmod(tree.deepest(), 0755);
}

// A directory that may not be read stays, unless it is empty, and the
// warning tells why; one whose entries may be listed but not reached holds
// its walk there, and the walk still finds its way back to remove the rest.
TEST(DeleteFullDir, LeavesDirectoriesItMayNotReadAndSaysWhy) {
  TempDir t;
  Touch(t.file("tree/locked/x"));
  MakeDirs(t.file("tree/locked-empty"));
  for (const char* d : {"tree/a/unsearchable/y", "tree/b/unsearchable/y", "tree/plain/z"}) Touch(t.file(d));
  for (const char* d : {"tree/locked", "tree/locked-empty"}) ASSERT_EQ(0, chmod(t.file(d).c_str(), 0));
  for (const char* d : {"tree/a/unsearchable", "tree/b/unsearchable"}) ASSERT_EQ(0, chmod(t.file(d).c_str(), 0400));
  MakeDirs(t.file("probe"));
  ASSERT_EQ(0, chmod(t.file("probe").c_str(), 0));
  CapturedLog log(t.file("log"));
  {
    PermissionChecksEnforced enforced;
    if (!PermissionChecksEnforced::holdFor(t.file("probe"))) {
      GTEST_SKIP() << "this process can read a directory with mode 000 (no way to drop the override here)";
    }
    DeleteFullDir removal;
    EXPECT_FALSE(removal.remove(t.file("tree").c_str()));
    EXPECT_EQ(Sorted({t.file("tree/a/unsearchable"), t.file("tree/b/unsearchable"), t.file("tree/locked")}),
              Sorted(Strings(removal.failed())));
  }
  const std::vector<std::string> want = {
      "WARNING: Could not delete " + t.file("tree/a/unsearchable") + " :  Directory not empty",
      "WARNING: Could not delete " + t.file("tree/a/unsearchable/y") + " :  Permission denied",
      "WARNING: Could not delete " + t.file("tree/b/unsearchable") + " :  Directory not empty",
      "WARNING: Could not delete " + t.file("tree/b/unsearchable/y") + " :  Permission denied",
      "WARNING: Could not delete " + t.file("tree/locked") + " :  Permission denied",
  };
  EXPECT_EQ(want, Sorted(Warnings(log)));
  for (const char* gone : {"tree/plain", "tree/locked-empty"}) EXPECT_FALSE(PathExists(t.file(gone))) << gone;
  for (const char* d : {"tree/locked", "tree/a/unsearchable", "tree/b/unsearchable"}) chmod(t.file(d).c_str(), 0755);
}

TEST(DeleteFullDir, AMissingDirectoryLogsNothing) {
  TempDir t;
  CapturedLog log(t.file("log"));
  DeleteFullDir removal;
  EXPECT_TRUE(removal.remove(t.file("none").c_str()));
  EXPECT_EQ(std::vector<std::string>{}, log.lines());
}
