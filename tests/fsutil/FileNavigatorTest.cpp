#include <gtest/gtest.h>
#include <sys/socket.h>
#include <sys/un.h>

#include <algorithm>
#include <string>
#include <vector>

#include "base/Termination.h"
#include "fsutil/DeleteFullDir.h"
#include "fsutil/FileNavigator.h"
#include "fsutil/FileSystemFixtures.h"
#include "fsutil/TempFiles.h"
#include "support/Processes.h"
#include "support/TempDir.h"

namespace {

// Collects what FindFiles reports; can ask to stop after a number of files.
class RecordingListener : public FileFindListener {
 public:
  explicit RecordingListener(int stopAfter = 0) : stopAfter_(stopAfter) {}
  int fileFound(const SString& path) override {
    found.push_back(path.c_str());
    return stopAfter_ > 0 && static_cast<int>(found.size()) >= stopAfter_;
  }
  std::vector<std::string> found;

 private:
  int stopAfter_;
};

std::vector<std::string> Find(const std::string& start, const std::vector<const char*>& names) {
  StringDeque nameList;
  for (const char* n : names) nameList.add(n);
  RecordingListener listener;
  FindFiles search(nameList, &listener);
  EXPECT_EQ(0, search.navigate(start.c_str()));
  std::sort(listener.found.begin(), listener.found.end());
  return listener.found;
}

std::vector<std::string> Sorted(std::vector<std::string> v) {
  std::sort(v.begin(), v.end());
  return v;
}

}  // namespace

TEST(FindFiles, MatchesNamesAtASeparatorOncePerName) {
  TempDir t;
  std::string both = Touch(t.file("opt/x/jre/bin/java"));
  Touch(t.file("opt/x/mybin/java"));
  std::string plain = Touch(t.file("bin/java"));
  Touch(t.file("java"));
  EXPECT_EQ(Sorted({both, both, plain}), Find(t.path(), {"jre/bin/java", "bin/java"}));
}

TEST(FindFiles, StopsAtTheFirstFileTheListenerRefuses) {
  TempDir t;
  for (const char* d : {"a", "b", "c"}) Touch(t.file(std::string(d) + "/bin/java"));
  StringDeque names;
  names.add("bin/java");
  RecordingListener listener(1);
  FindFiles search(names, &listener);
  EXPECT_NE(0, search.navigate(t.path().c_str()));
  EXPECT_EQ(1u, listener.found.size());
}

TEST(FindFiles, OffersALinkToAnAncestorAsAFileAndEnds) {
  TempDir t;
  MakeDirs(t.file("a/b"));
  ASSERT_EQ(0, symlink("../..", t.file("a/b/up").c_str()));
  ASSERT_EQ(0, symlink(t.path().c_str(), t.file("a/top").c_str()));
  EXPECT_EQ(Sorted({t.file("a/b/up"), t.file("a/top")}), Find(t.path(), {"up", "top"}));
}

TEST(FindFiles, LeavesOutDirectoriesItCannotOpen) {
  TempDir t;
  std::string open = Touch(t.file("open/bin/java"));
  Touch(t.file("locked/bin/java"));
  ASSERT_EQ(0, chmod(t.file("locked").c_str(), 0));
  PermissionChecksEnforced enforced;
  if (!PermissionChecksEnforced::holdFor(t.file("locked"))) {
    GTEST_SKIP() << "this process can read a directory with mode 000 (no way to drop the override here)";
  }
  EXPECT_EQ(std::vector<std::string>{open}, Find(t.path(), {"bin/java"}));
}

TEST(FindFiles, SkipsTheTemporaryRootAndTmpOnly) {
  TempDir t;
  MakeDirs(t.file("root"));
  SetTempRoot((t.file("root") + "/").c_str());
  StringDeque names;
  RecordingListener listener;
  FindFiles search(names, &listener);
  const struct {
    std::string dir;
    bool skipped;
  } cases[] = {
      {t.file("root"), true}, {"/tmp", true},  {"/tmp2", false},
      {"/tmp/x", false},      {"/var", false}, {t.file("root/sub"), false},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.dir);
    EXPECT_EQ(c.skipped, search.skipDirectory(c.dir.c_str()) != 0);
  }

  Touch(t.file("root/bin/java"));
  std::string outside = Touch(t.file("tmp/bin/java"));
  EXPECT_EQ(std::vector<std::string>{outside}, Find(t.path(), {"bin/java"}));
}

TEST(FindFiles, StaysOutOfKernelFileSystems) {
  // The plain walk below shows that there is something to find.
  class AllFiles : public FileNavigator {
   public:
    int processFile(const SString& path) override {
      if (endsWith(path, "/status") != SString::npos) ++statusFiles;
      return 0;
    }
    int statusFiles = 0;
  } plain;
  plain.navigate("/proc/self/");
  ASSERT_GT(plain.statusFiles, 0);

  EXPECT_EQ(std::vector<std::string>{}, Find("/proc/self/", {"status"}));
  EXPECT_EQ(std::vector<std::string>{}, Find("/sys", {"uevent"}));
}

TEST(FindFiles, StaysOutOfAKernelFileSystemMountedInTheTree) {
  TempDir t;
  std::string real = Touch(t.file("real/status"));
  MakeDirs(t.file("proc"));
  Mount proc("proc", t.file("proc"));
  if (!proc.ok()) GTEST_SKIP() << "mounting proc is not permitted here";
  EXPECT_EQ(std::vector<std::string>{real}, Find(t.path(), {"status"}));
}

TEST(FindFiles, WalksOtherMountedFileSystems) {
  TempDir t;
  MakeDirs(t.file("mnt"));
  Mount tmpfs("tmpfs", t.file("mnt"));
  if (!tmpfs.ok()) GTEST_SKIP() << "mounting tmpfs is not permitted here";
  std::string inside = Touch(t.file("mnt/jre/bin/java"));
  EXPECT_EQ(std::vector<std::string>{inside}, Find(t.path(), {"jre/bin/java"}));
}

TEST(FindFiles, ASignalEndsTheSearchButNotTheCleanUp) {
  TempDir t;
  Touch(t.file("tree/a/bin/java"));
  Touch(t.file("tree/b/c/file"));
  int status = InForkedProcess([&] {
    RequestTermination(SIGHUP);
    StringDeque names;
    names.add("bin/java");
    RecordingListener listener;
    FindFiles search(names, &listener);
    try {
      search.navigate(t.file("tree").c_str());
      return 1;
    } catch (const TerminationRequest&) {
      if (!listener.found.empty()) return 2;
    }
    // The removal of temporary files is what the signal asks for.
    DeleteFullDir removal;
    return removal.remove(t.file("tree").c_str()) ? 0 : 3;
  });
  EXPECT_EQ(0, status);
  EXPECT_FALSE(PathExists(t.file("tree")));
}

TEST(IsDirectory, LooksAtTheEntryItselfAndItsDirectoryBit) {
  TempDir t;
  MakeDirs(t.file("dir"));
  t.write("file", "x");
  ASSERT_EQ(0, symlink(t.file("dir").c_str(), t.file("link").c_str()));
  int sock = socket(AF_UNIX, SOCK_STREAM, 0);
  sockaddr_un address = {};
  address.sun_family = AF_UNIX;
  std::string socketPath = t.file("sock");
  ASSERT_LT(socketPath.size(), sizeof address.sun_path);
  socketPath.copy(address.sun_path, socketPath.size());
  ASSERT_EQ(0, bind(sock, reinterpret_cast<sockaddr*>(&address), sizeof address));
  close(sock);

  const struct {
    std::string path;
    bool directory;
  } cases[] = {
      {t.file("dir"), true},   {t.file("file"), false}, {t.file("link"), false},
      {t.file("none"), false}, {t.file("sock"), true},  {"/dev/null", false},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.path);
    EXPECT_EQ(c.directory, isDirectory(c.path.c_str()));
  }
}

TEST(IsBelow, NeedsASeparatorAfterTheDirectory) {
  const struct {
    const char* dir;
    const char* path;
    bool below;
  } cases[] = {
      {"/t/lib", "/t/lib/x", true}, {"/t/lib", "/t/lib64", false}, {"/t/lib", "/t/lib", false},
      {"/t/", "/t/lib", true},      {"/t/lib", "/t", false},       {"/", "/t", true},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(std::string(c.dir) + " " + c.path);
    EXPECT_EQ(c.below, isBelow(c.dir, c.path));
  }
}

TEST(FileNavigator, VisitsParentsFirstAndTheLastReadSubdirectoryFirst) {
  class Directories : public FileNavigator {
   public:
    int processFile(const SString&) override { return 0; }
    void directoryTaken(const SString& path) override { taken.push_back(path.c_str()); }
    std::vector<std::string> taken;
  } walker;
  TempDir t;
  for (const char* d : {"a/x", "a/y", "b", "c/z/w"}) MakeDirs(t.file(d));
  std::vector<std::string> readOrder;
  DIR* top = opendir(t.path().c_str());
  ASSERT_NE(nullptr, top);
  while (dirent* e = readdir(top)) {
    if (e->d_name[0] != '.') readOrder.push_back(t.file(e->d_name));
  }
  closedir(top);

  EXPECT_EQ(0, walker.navigate(t.path().c_str()));
  const std::vector<std::string>& visited = walker.taken;
  ASSERT_EQ(8u, visited.size());
  EXPECT_EQ(t.path(), visited[0]);
  EXPECT_EQ(readOrder.back(), visited[1]);
  for (size_t i = 1; i < visited.size(); ++i) {
    const std::string& dir = visited[i];
    std::string parent = dir.substr(0, dir.rfind('/'));
    auto parentAt = std::find(visited.begin(), visited.end(), parent);
    EXPECT_NE(visited.end(), parentAt) << dir;
    EXPECT_LT(parentAt - visited.begin(), static_cast<long>(i)) << dir;
  }
}
