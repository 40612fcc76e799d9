#include <fcntl.h>
#include <gtest/gtest.h>
#include <sched.h>
#include <sys/mount.h>
#include <sys/stat.h>
#include <sys/syscall.h>
#include <unistd.h>

#include <algorithm>
#include <cctype>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "base/LauncherException.h"
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
  SString first = CreateTempDir();
  SString second = CreateTempDir();
  SString file = CreateTempFile();

  EXPECT_TRUE(IsTempName(root.path(), first));
  EXPECT_TRUE(IsTempName(root.path(), second));
  EXPECT_TRUE(IsTempName(root.path(), file));
  EXPECT_NE(first, second);
  EXPECT_EQ("", ReadFile(file.c_str()));
  MakeDirs(std::string(first.c_str()) + "/a/b");
  Touch(std::string(second.c_str()) + "/c");

  RemoveTempFiles();
  for (const SString& gone : {first, second, file}) EXPECT_FALSE(PathExists(gone.c_str())) << gone;
}

// Another user must not replace what the launcher extracts and runs: its
// directories and files are its own alone, whatever the umask says.
TEST(TempFiles, DirectoriesAndFilesArePrivateWhateverTheUmask) {
  TempDir root;
  TmpdirVariable tmpdir(root.path().c_str());
  for (mode_t mask : {000, 022, 077, 0777}) {
    SCOPED_TRACE(mask);
    mode_t previous = umask(mask);
    SString dir = CreateTempDir();
    SString file = CreateTempFile();
    umask(previous);
    EXPECT_EQ(0700u, ModeOf(dir));
    EXPECT_EQ(0600u, ModeOf(file));
  }
  RemoveTempFiles();
}

// Paths are handed to children that run in other directories.
TEST(TempFiles, ARelativeDirectoryIsMadeAbsolute) {
  TempDir root;
  MakeDirs(root.file("rel/sub"));
  char* cwd = getcwd(nullptr, 0);
  ASSERT_EQ(0, chdir(root.path().c_str()));
  {
    TmpdirVariable tmpdir("rel/sub/");
    EXPECT_TRUE(IsTempName(root.file("rel/sub"), CreateTempDir()));
    EXPECT_EQ(root.file("rel/sub"), TempDirectory().c_str());
  }
  {
    TmpdirVariable tmpdir(nullptr);
    SetTempRoot("rel");
    EXPECT_EQ(root.file("rel"), GetTempRoot().c_str());
    EXPECT_TRUE(IsTempName(root.file("rel"), CreateTempFile()));
  }
  ASSERT_EQ(0, chdir(cwd));
  std::free(cwd);
  RemoveTempFiles();
  SetTempRoot("/tmp");
}

// Temporary paths go into shell commands inside double quotes, into the
// first word of the embedded launcher's command line and through the launch
// script's macro passes: a directory with a character any of them acts on
// is refused before anything is made in it.
TEST(TempFiles, ADirectoryThatCannotBeCarriedInACommandIsRefused) {
  unsetenv("LC_ALL");
  unsetenv("LC_MESSAGES");
  setenv("LANG", "C", 1);
  TempDir root;
  for (const char* name : {"x$(touch PWNED)", "back`quote`", "dq\"x", "bs\\x", "pct%x", "at@x", "hash#x", "nl\nx"}) {
    SCOPED_TRACE(name);
    std::string dir = root.file(name);
    MakeDirs(dir);
    TmpdirVariable tmpdir(dir.c_str());
    try {
      CreateTempDir();
      ADD_FAILURE() << "a temporary directory was made in " << dir;
    } catch (const LauncherException& e) {
      EXPECT_EQ("The temporary directory " + dir +
                    " holds a character that the launcher cannot pass on safely in a command (a quote, a dollar sign, "
                    "a back quote, a backslash, a line break or one of the launch script's markers). Choose another "
                    "directory with TMPDIR or -lx:tempdir.",
                e.getMessage().c_str());
    }
    EXPECT_EQ(0, rmdir(dir.c_str())) << "something was made in " << dir;
  }
  // Blanks, single quotes and other characters the double quotes hold are
  // carried.
  std::string usual = root.file("My Temp's ünïcödé (1) ; & |");
  MakeDirs(usual);
  TmpdirVariable tmpdir(usual.c_str());
  EXPECT_TRUE(IsTempName(usual, CreateTempDir()));
  RemoveTempFiles();
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

  RemoveOwnExecutableAtExit(alone.c_str());
  RemoveTempFiles();
  EXPECT_FALSE(PathExists(t.file("alone")));

  RemoveOwnExecutableAtExit(shared.c_str());
  RemoveTempFiles();
  EXPECT_FALSE(PathExists(shared));
  EXPECT_TRUE(PathExists(t.file("shared/other")));

  // Removed once: a file of that name made afterwards is not the launcher's.
  Touch(shared);
  RemoveTempFiles();
  EXPECT_TRUE(PathExists(shared));
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

// A TMPDIR that anyone may change is passed over for the next place, the
// temporary root here; the log says why once, however many names are made.
TEST(TempFiles, APlaceOthersCouldChangeGivesWayToTheNextWithOneLogLine) {
  TempDir open, root, logs;
  ASSERT_EQ(0, chmod(open.path().c_str(), 0777));
  TmpdirVariable tmpdir(open.path().c_str());
  SetTempRoot(root.path().c_str());
  CapturedLog log(logs.file("log"));
  EXPECT_TRUE(IsTempName(root.path(), CreateTempDir()));
  EXPECT_TRUE(IsTempName(root.path(), CreateTempFile()));
  EXPECT_EQ(root.path(), TempDirectory().c_str());
  EXPECT_EQ(std::vector<std::string>{"WARNING: The temporary directory " + open.path() + " is not used: " +
                                     open.path() + " may be written by group or others and has no sticky bit."},
            log.lines());
  EXPECT_EQ("", ShellOutput("ls -A '" + open.path() + "'"));
  RemoveTempFiles();
  SetTempRoot("/tmp");
}

// When no place passes, nothing is made anywhere: the run ends naming the
// first place refused and why (the log names the others). Shown in a
// mount namespace of its own, where /tmp and /var/tmp are open to everyone
// without the sticky bit and the runtime directory is not private.
TEST(TempFiles, WithoutAPlaceThatPassesTheRunEndsNamingTheFirstRefused) {
  TempDir logs;
  int status = InForkedProcess([&] {
    // The log stays reachable through its directory, held open, once the
    // fresh /tmp hides it.
    int logDir = open(logs.path().c_str(), O_RDONLY | O_DIRECTORY);
    if (logDir < 0) return 3;
    if (unshare(CLONE_NEWNS) != 0 || mount(nullptr, "/", nullptr, MS_REC | MS_PRIVATE, nullptr) != 0) return 2;
    if (mount("tmpfs", "/tmp", "tmpfs", 0, "mode=0777") != 0) return 2;
    if (mount("tmpfs", "/var/tmp", "tmpfs", 0, "mode=0777") != 0) return 2;
    if (mkdir("/tmp/runtime", 0755) != 0) return 3;
    unsetenv("TMPDIR");
    unsetenv("HOME");
    unsetenv("LC_ALL");
    unsetenv("LC_MESSAGES");
    setenv("LANG", "C", 1);
    setenv("XDG_RUNTIME_DIR", "/tmp/runtime", 1);
    setenv("XDG_CACHE_HOME", "/tmp/cache", 1);
    SetTempRoot("/tmp");
    CapturedLog log("/proc/self/fd/" + std::to_string(logDir) + "/log");
    const std::string want =
        "Error creating temporary directory /tmp: /tmp may be written by group or others and has no sticky bit";
    for (int attempt = 0; attempt < 2; ++attempt) {
      try {
        if (attempt == 0) {
          CreateTempDir();
        } else {
          UseExecutableTempDirectory("a test needs it");
        }
        return 4;
      } catch (const LauncherException& e) {
        if (want != e.getMessage().c_str()) {
          fprintf(stderr, "%s\n", e.getMessage().c_str());
          return 5;
        }
      }
    }
    const std::vector<std::string> refusals = {
        "WARNING: The temporary directory /tmp is not used: /tmp may be written by group or others and has no "
        "sticky bit.",
        "WARNING: The temporary directory /var/tmp is not used: /var/tmp may be written by group or others and has "
        "no sticky bit.",
        "WARNING: The temporary directory /tmp/runtime is not used: /tmp/runtime is not the user's own with mode 0700.",
    };
    std::vector<std::string> lines = log.lines();
    for (const std::string& line : refusals) {
      if (std::count(lines.begin(), lines.end(), line) != 1) {
        fprintf(stderr, "not once in the log: %s\n", line.c_str());
        return 6;
      }
    }
    // Not even the cache's private directory was made, /tmp being open.
    return ShellOutput("ls -A /tmp /var/tmp") == "/tmp:\nruntime\n\n/var/tmp:\n" ? 0 : 7;
  });
  if (status == 2) GTEST_SKIP() << "no mount namespace of its own can be made here (needs root)";
  EXPECT_EQ(0, status) << "3: no log or runtime directory; 4: a place was used; 5: another message; 6: the log; "
                          "7: something was made";
}

// A root without /tmp, /var/tmp or a home (a bare chroot): the run ends
// saying that /tmp is missing, as when it was the only place there was.
TEST(TempFiles, InARootWithoutAnyPlaceTheRunEndsSayingTmpIsMissing) {
  TempDir root;
  int status = InForkedProcess([&] {
    if (chroot(root.path().c_str()) != 0 || chdir("/") != 0) return 2;
    for (const char* name : {"TMPDIR", "HOME", "XDG_RUNTIME_DIR", "XDG_CACHE_HOME", "LC_ALL", "LC_MESSAGES"}) {
      unsetenv(name);
    }
    setenv("LANG", "C", 1);
    SetTempRoot("/tmp");
    try {
      CreateTempFile();
      return 3;
    } catch (const LauncherException& e) {
      return std::string("Error creating temporary directory /tmp: No such file or directory") == e.getMessage().c_str()
                 ? 0
                 : 4;
    }
  });
  if (status == 2) GTEST_SKIP() << "changing the root needs root";
  EXPECT_EQ(0, status) << "3: a file was made; 4: another message";
}
