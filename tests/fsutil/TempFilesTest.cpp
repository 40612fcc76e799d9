#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/syscall.h>
#include <unistd.h>

#include <cctype>
#include <cstdlib>
#include <string>
#include <vector>

#include "base/LauncherException.h"
#include "base/Settings.h"
#include "fsutil/FileSystemFixtures.h"
#include "fsutil/TempFiles.h"
#include "support/DeniedSystemCall.h"
#include "support/Processes.h"
#include "support/TempDir.h"

namespace {

// Sets or unsets TMPDIR for one test and puts the old value back.
class TmpdirVariable {
 public:
  explicit TmpdirVariable(const char* value) {
    const char* old = std::getenv("TMPDIR");
    hadOld_ = old != nullptr;
    if (old) old_ = old;
    if (value) {
      setenv("TMPDIR", value, 1);
    } else {
      unsetenv("TMPDIR");
    }
  }
  ~TmpdirVariable() {
    if (hadOld_) {
      setenv("TMPDIR", old_.c_str(), 1);
    } else {
      unsetenv("TMPDIR");
    }
  }

 private:
  bool hadOld_;
  std::string old_;
};

// root + "/lxj" + six letters or digits.
::testing::AssertionResult IsTempName(const std::string& root, const SString& name) {
  std::string n = name.c_str();
  std::string prefix = root + "/lxj";
  if (n.size() != prefix.size() + 6 || n.compare(0, prefix.size(), prefix) != 0) {
    return ::testing::AssertionFailure() << n << " is not " << prefix << "XXXXXX";
  }
  for (std::string::size_type i = prefix.size(); i < n.size(); ++i) {
    if (!std::isalnum(static_cast<unsigned char>(n[i]))) {
      return ::testing::AssertionFailure() << n << " has a character that is no letter or digit";
    }
  }
  return ::testing::AssertionSuccess();
}

mode_t ModeOf(const SString& path) {
  struct stat status;
  return stat(path.c_str(), &status) == 0 ? status.st_mode & 07777 : 0;
}

}  // namespace

TEST(TempFiles, NamesUnderTheTemporaryRootAreRemovedAtExitWithTheirContents) {
  TempDir root;
  TmpdirVariable tmpdir(nullptr);
  SetTempRoot((root.path() + "/").c_str());
  mode_t mask = umask(022);
  SString first = CreateTempDir();
  SString second = CreateTempDir();
  SString file = CreateTempFile();
  umask(mask);

  EXPECT_TRUE(IsTempName(root.path(), first));
  EXPECT_TRUE(IsTempName(root.path(), second));
  EXPECT_TRUE(IsTempName(root.path(), file));
  EXPECT_NE(first, second);
  EXPECT_EQ(0755u, ModeOf(first));
  EXPECT_EQ(0644u, ModeOf(file));
  EXPECT_EQ("", ReadFile(file.c_str()));
  MakeDirs(std::string(first.c_str()) + "/a/b");
  Touch(std::string(second.c_str()) + "/c");

  RemoveTempFiles();
  for (const SString& gone : {first, second, file}) EXPECT_FALSE(PathExists(gone.c_str())) << gone;
}

TEST(TempFiles, UnregisteredPathsSurviveTheCleanUp) {
  TempDir root;
  TmpdirVariable tmpdir(root.path().c_str());
  SString keptFile = CreateTempFile();
  SString keptDir = CreateTempDir();
  SString removed = CreateTempFile();
  UnregisterTempFile(keptFile);
  UnregisterTempDir(keptDir);
  UnregisterTempDir("not registered");

  RemoveTempFiles();
  EXPECT_TRUE(PathExists(keptFile.c_str()));
  EXPECT_TRUE(PathExists(keptDir.c_str()));
  EXPECT_FALSE(PathExists(removed.c_str()));
}

TEST(TempFiles, TmpdirWinsWhenItNamesADirectory) {
  TempDir fromEnvironment, root;
  SetTempRoot(root.path().c_str());
  {
    TmpdirVariable tmpdir(fromEnvironment.path().c_str());
    EXPECT_TRUE(IsTempName(fromEnvironment.path(), CreateTempDir()));
  }
  {
    TmpdirVariable tmpdir(fromEnvironment.file("missing").c_str());
    EXPECT_TRUE(IsTempName(root.path(), CreateTempFile()));
  }
  RemoveTempFiles();
}

TEST(TempFiles, AMissingTemporaryRootIsIgnored) {
  TmpdirVariable tmpdir(nullptr);
  std::string vanished;
  {
    TempDir root;
    SetTempRoot(root.path().c_str());
    SetTempRoot("/nonexistent/lx");
    EXPECT_EQ(root.path(), GetTempRoot().c_str());
    vanished = root.path();
  }
  // The root was given but no longer names a directory: /tmp takes over.
  EXPECT_TRUE(IsTempName("/tmp", CreateTempDir()));
  EXPECT_EQ(vanished, GetTempRoot().c_str());
  RemoveTempFiles();
}

TEST(TempFiles, CreationFailuresNameTheCause) {
  // The directory's message comes from the catalogue: English, whatever
  // locale the tests were started in.
  unsetenv("LC_ALL");
  unsetenv("LC_MESSAGES");
  setenv("LANG", "C", 1);
  TempDir root;
  MakeDirs(root.file("readonly"));
  ASSERT_EQ(0, chmod(root.file("readonly").c_str(), 0555));
  TmpdirVariable tmpdir(root.file("readonly").c_str());
  PermissionChecksEnforced enforced;
  if (mkdir(root.file("readonly/probe").c_str(), 0700) == 0) {
    GTEST_SKIP() << "this process can write into a read-only directory (no way to drop the override here)";
  }
  try {
    CreateTempDir();
    ADD_FAILURE() << "CreateTempDir succeeded in a read-only directory";
  } catch (const LauncherException& e) {
    EXPECT_EQ("Error creating temporary directory " + root.file("readonly") + ": Permission denied",
              e.getMessage().c_str());
  }
  try {
    CreateTempFile();
    ADD_FAILURE() << "CreateTempFile succeeded in a read-only directory";
  } catch (const LauncherException& e) {
    std::string message = e.getMessage().c_str();
    std::string prefix = "Error creating tmp file ";
    ASSERT_EQ(0u, message.rfind(prefix, 0)) << message;
    EXPECT_TRUE(IsTempName(root.file("readonly"), message.substr(prefix.size()).c_str()));
  }
}

TEST(TempFiles, AnEmbeddedLauncherRemovesItselfAndItsDirectoryAtExit) {
  TempDir t;
  std::string alone = Touch(t.file("alone/launcher"));
  std::string shared = Touch(t.file("shared/launcher"));
  Touch(t.file("shared/other"));
  const SString savedPath = settings().launcherPath;
  const int savedGiven = settings().originalGiven;

  settings().originalGiven = 1;
  settings().launcherPath = alone.c_str();
  RemoveTempFiles();
  EXPECT_FALSE(PathExists(t.file("alone")));

  settings().launcherPath = shared.c_str();
  RemoveTempFiles();
  EXPECT_FALSE(PathExists(shared));
  EXPECT_TRUE(PathExists(t.file("shared/other")));

  std::string untouched = Touch(t.file("plain/launcher"));
  settings().originalGiven = 0;
  settings().launcherPath = untouched.c_str();
  RemoveTempFiles();
  EXPECT_TRUE(PathExists(untouched));

  settings().launcherPath = savedPath;
  settings().originalGiven = savedGiven;
}

TEST(TempFiles, RemovePathDeletesTreesAndSingleFilesAndIgnoresMissingOnes) {
  TempDir t;
  Touch(t.file("tree/a/b/c"));
  std::string single = Touch(t.file("single"));
  CapturedLog log(t.file("log"));
  RemovePath(t.file("tree").c_str());
  RemovePath(single.c_str());
  RemovePath(t.file("missing").c_str());
  EXPECT_FALSE(PathExists(t.file("tree")));
  EXPECT_FALSE(PathExists(single));
  EXPECT_EQ(std::vector<std::string>{}, log.lines());
}

// Kernels before 3.17 lack getrandom, and a filter may refuse it or answer
// 0: names still come, each new, in the same form.
TEST(TempFiles, NamesComeWithoutTheKernelsRandomBytes) {
  TempDir root;
  TmpdirVariable tmpdir(root.path().c_str());
  for (int answer : {ENOSYS, EPERM, EINVAL, 0}) {
    SCOPED_TRACE(answer);
    int status = InForkedProcess([&] {
      if (!DenySystemCall(SYS_getrandom, answer)) return 2;
      std::vector<std::string> names;
      for (int i = 0; i < 50; ++i) {
        SString name = i % 2 ? CreateTempDir() : CreateTempFile();
        if (!IsTempName(root.path(), name)) return 10;
        for (const std::string& earlier : names) {
          if (earlier == name.c_str()) return 11;
        }
        names.push_back(name.c_str());
      }
      RemoveTempFiles();
      return 0;
    });
    EXPECT_NE(2, status) << "this system does not let a process filter its system calls";
    EXPECT_EQ(0, status) << "10: the form of a name, 11: a name given twice";
  }
  EXPECT_EQ(0, rmdir(root.path().c_str())) << "left behind in " << root.path();
}
