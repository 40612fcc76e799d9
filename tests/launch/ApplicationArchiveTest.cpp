#include <gtest/gtest.h>
#include <signal.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <fstream>
#include <string>

#include "launch/ApplicationArchive.h"
#include "launch/LaunchFixture.h"
#include "launch/LaunchScript.h"

namespace {

class ApplicationArchiveTest : public LaunchFixture {
 protected:
  // Expanded inside double quotes, where a launch script puts a path, so
  // the path comes back as it is.
  std::string expand(const char* command) {
    LaunchScript script(launcher.context, SString("\"") + command + "\"", 1, 0);
    std::string quoted = script.expandCommand(&jvm).c_str();
    return quoted.substr(1, quoted.size() - 2);
  }
};

}  // namespace

TEST_F(ApplicationArchiveTest, CopiedFromBesideTheOriginalLauncherOnce) {
  ASSERT_EQ(0, mkdir(dir.file("cd").c_str(), 0700));
  dir.write("cd/media.jar", "first copy");
  std::string copy = expand("%APPLICATION_ARCHIVE%(\"cd/media.jar\")");
  EXPECT_EQ(tmp() + "/lxj", copy.substr(0, tmp().size() + 4));
  EXPECT_EQ("/media.jar", copy.substr(copy.size() - 10));  // the argument's base name
  EXPECT_EQ("first copy", ReadFile(copy));

  // Both forms return the path found first, without copying again.
  dir.write("cd/media.jar", "changed");
  dir.write("media.jar", "other");
  EXPECT_EQ(copy, expand("%APPLICATION_ARCHIVE%(\"media.jar\")"));
  EXPECT_EQ(copy, expand("%APPLICATION_ARCHIVE%()"));
  EXPECT_EQ("first copy", ReadFile(copy));
}

TEST_F(ApplicationArchiveTest, MissingFileGivesNothingAndIsTriedAgain) {
  EXPECT_EQ("[]", expand("[%APPLICATION_ARCHIVE%(\"media.jar\")]"));
  dir.write("media.jar", "now here");
  EXPECT_EQ("now here", ReadFile(expand("%APPLICATION_ARCHIVE%(\"media.jar\")")));
}

TEST_F(ApplicationArchiveTest, EmbeddedArchiveIsExtractedOnce) {
  makeLauncher(
      {{FT_APPLICATION, "old.jar", "old"}, {FT_CLASSPATH, "lib.jar", "lib"}, {FT_APPLICATION, "app.jar", "app"}});
  std::string path = expand("%APPLICATION_ARCHIVE%()");
  EXPECT_EQ("/app.jar", path.substr(path.size() - 8));  // the last one
  EXPECT_EQ("app", ReadFile(path));
  EXPECT_EQ("old", ReadFile(path.substr(0, path.size() - 8) + "/old.jar"));  // in the same directory
  EXPECT_EQ(path, expand("%APPLICATION_ARCHIVE%()"));
}

TEST_F(ApplicationArchiveTest, NoEmbeddedArchiveGivesNothing) {
  makeLauncher({{FT_CLASSPATH, "lib.jar", "lib"}});
  EXPECT_EQ("[]", expand("[%APPLICATION_ARCHIVE%()]"));
  EXPECT_EQ(SString(""), applicationArchivePath());
}

TEST_F(ApplicationArchiveTest, FailedWriteIsReported) {
  dir.write("media.jar", std::string(20000, 'm'));
  std::string resultFile = dir.file("result");
  std::fflush(nullptr);
  pid_t pid = fork();
  if (pid == 0) {
    // Files may not grow beyond 1000 bytes in this process.
    signal(SIGXFSZ, SIG_IGN);
    struct rlimit small = {1000, 1000};
    setrlimit(RLIMIT_FSIZE, &small);
    std::string message = ThrownBy([this] { copyApplicationArchive(launcher.paths, "media.jar"); });
    small.rlim_cur = small.rlim_max = RLIM_INFINITY;
    setrlimit(RLIMIT_FSIZE, &small);
    std::ofstream(resultFile) << message << "|" << applicationArchivePath().c_str();
    _exit(0);
  }
  int status = 0;
  waitpid(pid, &status, 0);
  // The system's reason, without the free-space hint that fits only a full
  // disk, and nothing of the archive left for the wizard.
  std::string result = ReadFile(resultFile);
  EXPECT_EQ(0u, result.find("Error writing file = ")) << result;
  EXPECT_NE(std::string::npos, result.find("/media.jar: File too large.|")) << result;
  EXPECT_EQ(std::string::npos, result.find("disk space")) << result;
  const std::string prefix = "Error writing file = ";
  std::string written = result.substr(prefix.size(), result.find(": File too large.") - prefix.size());
  EXPECT_NE(0, access(written.c_str(), F_OK)) << written << " was left behind";
}
