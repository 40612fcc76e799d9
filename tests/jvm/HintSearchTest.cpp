// The hint searches of a JVM description and the verification of one home,
// against the real JDKs of the machine and against fake java executables.
#include <gtest/gtest.h>
#include <signal.h>
#include <unistd.h>

#include <chrono>
#include <fstream>
#include <memory>
#include <string>
#include <vector>

#include "jvm/JVMFile.h"
#include "jvm/JVMMatch.h"
#include "jvm/SearchFixture.h"
#include "support/TestRunContext.h"

namespace {

// A fake that answers like the verification class on a JVM whose vendor is
// "Fake Corp." and whose version is 17.0.9.
const char kGoodFake[] = "echo 1739021872\necho 'Fake Corp.'\necho 17.0.9\n";

TagFile* NewFakeDescription() {
  return NewDescription("Fake 17", "bin/java", {"java.vendor=Fake...", "java.version=17..."});
}

JVMMatch* VerifyAt(JVMFile& jvm, const std::string& home) {
  VerifyClass verify = BuiltVerifyClass();
  return jvm.verifyAt(home.c_str(), verify.classPath.c_str(), verify.className.c_str(), HomeOrigin::kNamed);
}

TEST(VerifyAt, AcceptsEachInstalledJdkOnlyForItsOwnVersion) {
  std::vector<InstalledJdk> jdks = RequireJdks(2);
  for (const InstalledJdk& jdk : jdks) {
    for (const InstalledJdk& wanted : jdks) {
      SCOPED_TRACE(jdk.home + " wanted " + wanted.specificationVersion);
      std::string exact = "java.specification.version=" + wanted.specificationVersion;
      std::string prefix = "java.version=" + wanted.specificationVersion + "...";
      std::unique_ptr<TagFile> tags(
          NewDescription("JDK", "bin/java", {exact.c_str(), prefix.c_str(), "java.vendor=..."}));
      TestRunContext run;
      JVMFile jvm(tags.get(), run.context);
      std::unique_ptr<JVMMatch> match(VerifyAt(jvm, jdk.home));
      ASSERT_EQ(jdk.specificationVersion == wanted.specificationVersion, match != nullptr);
      if (match) {
        EXPECT_EQ(jdk.home, match->getHome().c_str());
        EXPECT_EQ(tags.get(), match->getTagFile());
        EXPECT_EQ(0, match->getTemp());
      }
      // Verification leaves the home it tried in the description.
      EXPECT_EQ(jdk.home, tags->getValue("JVM_HOME", 0).c_str());
    }
  }
}

TEST(VerifyAt, MatchesPropertiesExactlyByPrefixAndForUnsetOnes) {
  std::vector<InstalledJdk> jdks = RequireJdks(1);
  ASSERT_FALSE(jdks.empty());
  const InstalledJdk& jdk = jdks.front();
  const std::string v = jdk.specificationVersion;
  const struct {
    std::vector<std::string> properties;
    bool want;
  } cases[] = {
      {{"java.specification.version=" + v}, true},
      {{"java.specification.version=" + v + "..."}, true},
      {{" java.specification.version = " + v + " "}, true},
      {{"java.specification.version=" + v + ".0"}, false},
      {{"java.specification.version=" + v.substr(0, 1)}, false},
      {{"java.vendor=...", "java.specification.version=0..."}, false},
      {{"lx.no.such.property=..."}, true},
      {{"lx.no.such.property=null"}, false},
      {{"not a setting", "java.specification.version=" + v}, true},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.properties.front());
    std::unique_ptr<TagFile> tags(NewDescription("JDK", "bin/java", {}));
    for (const std::string& p : c.properties) tags->addValue("JVM_PROPERTIES", p.c_str());
    TestRunContext run;
    JVMFile jvm(tags.get(), run.context);
    LogCapture log;
    std::unique_ptr<JVMMatch> match(VerifyAt(jvm, jdk.home));
    EXPECT_EQ(c.want, match != nullptr);
    bool invalidSetting = c.properties.front() == "not a setting";
    EXPECT_EQ(invalidSetting, log.has("WARNING: Invalid JVM_PROPERTIES setting (not a setting) in JVM File "));
  }
}

TEST(VerifyAt, MissingExecutableIsLoggedWithoutDoubledSeparator) {
  std::unique_ptr<TagFile> tags(NewFakeDescription());
  TestRunContext run;
  JVMFile jvm(tags.get(), run.context);
  for (const char* home : {"/nonexistent/lx-jdk", "/nonexistent/lx-jdk/"}) {
    SCOPED_TRACE(home);
    LogCapture log;
    EXPECT_EQ(nullptr, VerifyAt(jvm, home));
    EXPECT_TRUE(log.has("Verifying JVM at /nonexistent/lx-jdk/bin/java\n   for JVM: Fake 17"));
    EXPECT_TRUE(log.has("/nonexistent/lx-jdk/bin/java does not exist"));
  }
}

TEST(VerifyAt, EmptyHomeOrExecutableIsNotTried) {
  TempDir dir;
  WriteFakeJava(dir.path(), kGoodFake);
  std::unique_ptr<TagFile> tags(NewFakeDescription());
  TestRunContext run;
  JVMFile jvm(tags.get(), run.context);
  LogCapture log;
  EXPECT_EQ(nullptr, VerifyAt(jvm, ""));
  tags->setValue("JVM_EXE", "");
  EXPECT_EQ(nullptr, VerifyAt(jvm, dir.path()));
  EXPECT_EQ("", log.text());
}

TEST(VerifyAt, JudgesFakeJavasByWhatTheyPrint) {
  const struct {
    const char* what;
    const char* body;
    bool want;
  } cases[] = {
      {"answers", kGoodFake, true},
      {"warns first", "echo 'Picked up JAVA_TOOL_OPTIONS: -Xmx1g'\necho 1739021872\necho Fake\necho 17\n", true},
      {"fails after answering", "echo 1739021872\necho Fake\necho 17\nexit 3\n", true},
      {"crashes", "kill -SEGV $$\n", false},
      {"prints garbage", "printf '\\001\\377\\033[2J not a JVM\\n'\nprintf '1739021872garbage\\n'\n", false},
      {"dies after the magic line", "echo 1739021872\nkill -KILL $$\n", false},
      {"dies before the version", "echo 1739021872\necho Fake\nexit 1\n", false},
      {"answers on standard error", "echo 1739021872 >&2\necho Fake >&2\necho 17 >&2\n", false},
      {"has another version", "echo 1739021872\necho Fake\necho 11.0.2\n", false},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    TempDir dir;
    WriteFakeJava(dir.path(), c.body);
    std::unique_ptr<TagFile> tags(NewFakeDescription());
    TestRunContext run;
    JVMFile jvm(tags.get(), run.context);
    std::unique_ptr<JVMMatch> match(VerifyAt(jvm, dir.path()));
    EXPECT_EQ(c.want, match != nullptr);
  }
}

TEST(VerifyAt, PassesClassPathClassAndPropertyNamesInOrder) {
  TempDir dir;
  std::string argsFile = dir.file("args");
  WriteFakeJava(dir.file("jdk"), "for a in \"$@\"; do echo \"$a\"; done > '" + argsFile +
                                     "'\necho 1739021872\necho first\necho second\n");
  std::unique_ptr<TagFile> tags(NewDescription("Order", "bin/java", {"a.first=first", "b.second=sec..."}));
  TestRunContext run;
  JVMFile jvm(tags.get(), run.context);
  std::unique_ptr<JVMMatch> match(VerifyAt(jvm, dir.file("jdk")));
  EXPECT_NE(nullptr, match);
  EXPECT_EQ("-cp\n" + BuiltVerifyJar() + "\nVerify\na.first\nb.second\n", ReadFile(argsFile));
}

TEST(VerifyAt, RefusesHomesTheShellOrTheMacrosWouldInterpret) {
  const char* names[] = {"jdk$(touch INJECTED)", "jdk`touch INJECTED`", "jdk\"x", "jdk%CP%x",
                         "jdk@DESC@x",           "jdk#HOME#x"};
  for (const char* name : names) {
    SCOPED_TRACE(name);
    TempDir dir;
    std::string home = dir.file(name);
    WriteFakeJava(home, kGoodFake);
    std::unique_ptr<TagFile> tags(NewFakeDescription());
    TestRunContext run;
    JVMFile jvm(tags.get(), run.context);
    LogCapture log;
    std::unique_ptr<JVMMatch> match;
    {
      // The fake runs in the working directory of the test, so an injected
      // command would leave its file there.
      EXPECT_NO_THROW(match.reset(VerifyAt(jvm, home)));
    }
    EXPECT_EQ(nullptr, match);
    EXPECT_TRUE(log.has("WARNING: Not verifying the JVM at " + home +
                        " because its path holds a character that the shell or the launch script would interpret."));
    EXPECT_NE(0, access("INJECTED", F_OK));
    EXPECT_NE(0, access(dir.file("INJECTED").c_str(), F_OK));
  }
}

// True once the process is gone (or only waits to be reaped).
bool ProcessEnded(pid_t pid) {
  if (kill(pid, 0) != 0) return true;
  std::ifstream stat("/proc/" + std::to_string(pid) + "/stat");
  std::string text((std::istreambuf_iterator<char>(stat)), std::istreambuf_iterator<char>());
  std::string::size_type close = text.rfind(')');
  return close != std::string::npos && text.size() > close + 2 && text[close + 2] == 'Z';
}

TEST(VerifyAt, StopsAJavaThatNeverEndsAtTheTimeLimit) {
  ScopedEnv timeout("LX_VERIFY_TIMEOUT", "1");
  TempDir dir;
  std::string pidFile = dir.file("sleeper.pid");
  // The answer is complete, but the process (and a child it started) never
  // ends: only the time limit gets the launcher going again.
  WriteFakeJava(dir.file("jdk"), "sleep 300 &\necho $! > '" + pidFile + "'\n" + kGoodFake + "wait\n");
  std::unique_ptr<TagFile> tags(NewFakeDescription());
  TestRunContext run;
  JVMFile jvm(tags.get(), run.context);
  LogCapture log;
  auto start = std::chrono::steady_clock::now();
  std::unique_ptr<JVMMatch> match(VerifyAt(jvm, dir.file("jdk")));
  double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
  EXPECT_EQ(nullptr, match);
  EXPECT_LT(seconds, 30.0);
  EXPECT_TRUE(log.has("WARNING: Verification of " + dir.file("jdk") +
                      "/bin/java did not end within 1 second(s) and was stopped."));
  pid_t sleeper = std::stoi(ReadFile(pidFile));
  bool ended = false;
  for (int i = 0; i < 50 && !ended; ++i) {
    ended = ProcessEnded(sleeper);
    if (!ended) usleep(100000);
  }
  EXPECT_TRUE(ended) << "the fake's child " << sleeper << " outlived the time limit";
}

// The hint searches: each logs where it looks and verifies there.
class HintSearch : public ::testing::Test {
 protected:
  void SetUp() override {
    jdks_ = RequireJdks(1);
    ASSERT_FALSE(jdks_.empty());
    jdk_ = jdks_.front();
    std::string exact = "java.specification.version=" + jdk_.specificationVersion;
    tags_.reset(NewDescription("Real JDK", "bin/java", {exact.c_str(), "java.vendor=..."}));
    jvm_.reset(new JVMFile(tags_.get(), run_.context));
    verify_ = BuiltVerifyClass();
  }

  TestRunContext run_;
  std::vector<InstalledJdk> jdks_;
  InstalledJdk jdk_;
  std::unique_ptr<TagFile> tags_;
  std::unique_ptr<JVMFile> jvm_;
  VerifyClass verify_;
  SString cp() const { return verify_.classPath.c_str(); }
  SString cls() const { return verify_.className.c_str(); }
};

TEST_F(HintSearch, PlatformHintsTryEveryPieceOfEachVariable) {
  std::string value = "/a::" + jdk_.home;
  ScopedEnv javaHome("JAVA_HOME", value.c_str());
  ScopedEnv unset("LX_TEST_UNSET_HINT", nullptr);
  tags_->addValue("PLATFORM_HINT", "LX_TEST_UNSET_HINT");
  tags_->addValue("PLATFORM_HINT", "JAVA_HOME");
  LogCapture log;
  std::unique_ptr<JVMMatch> match(jvm_->searchPlatformHints(cp(), cls()));
  ASSERT_NE(nullptr, match);
  EXPECT_EQ(jdk_.home, match->getHome().c_str());
  EXPECT_TRUE(log.has("Searching for Real JDK using platform hints"));
  EXPECT_TRUE(log.has("Checking JVM at /a which was resolved from platform hint JAVA_HOME"));
  EXPECT_TRUE(log.has("Checking JVM at " + jdk_.home + " which was resolved from platform hint JAVA_HOME"));
  EXPECT_EQ(std::string::npos, log.text().find("Checking JVM at  which"));
  EXPECT_EQ(std::string::npos, log.text().find("LX_TEST_UNSET_HINT"));
}

TEST_F(HintSearch, PathHintsAbsoluteWithSlashAndBesideTheLauncher) {
  TempDir launcherDir;
  ASSERT_EQ(0, symlink(jdk_.home.c_str(), launcherDir.file("jre").c_str()));
  run_.paths.origLauncherPath = launcherDir.file("setup.bin").c_str();
  const struct {
    std::string hint;
    std::string home;
    std::string checkLine;  // empty: no line of its own
    int temp;
  } cases[] = {
      {jdk_.home, jdk_.home, "Checking path hint " + jdk_.home, 0},
      {jdk_.home + "/", jdk_.home + "/", "Checking path hint " + jdk_.home + "/", 0},
      {"jre", launcherDir.file("jre"), "", 1},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.hint);
    tags_->removeTag("PATH_HINT");
    tags_->addValue("PATH_HINT", "/nonexistent/lx-jdk");
    tags_->addValue("PATH_HINT", c.hint.c_str());
    LogCapture log;
    std::unique_ptr<JVMMatch> match(jvm_->searchPathHints(cp(), cls()));
    ASSERT_NE(nullptr, match);
    EXPECT_EQ(c.home, match->getHome().c_str());
    EXPECT_EQ(c.temp, match->getTemp());
    EXPECT_TRUE(log.has("Searching for Real JDK using path hints"));
    EXPECT_TRUE(log.has("Checking path hint /nonexistent/lx-jdk"));
    std::string exe = c.home + (c.home.back() == '/' ? "" : "/") + "bin/java";
    EXPECT_TRUE(log.has("Verifying JVM at " + exe + "\n   for JVM: Real JDK"));
    if (!c.checkLine.empty()) {
      EXPECT_TRUE(log.has(c.checkLine));
    }
    EXPECT_EQ(std::string::npos, log.text().find("Checking path hint " + launcherDir.path()));
  }
}

TEST_F(HintSearch, PlatformPathTakesTheHomeAboveTheExecutablesDirectory) {
  std::string path = "/nonexistent/bin::" + jdk_.home + "/bin:/usr/bin";
  ScopedEnv pathVariable("PATH", path.c_str());
  const struct {
    const char* exe;
    std::string home;
    std::string firstLine;
  } cases[] = {
      {"bin/java", jdk_.home + "/",
       "Checking JVM at /nonexistent/ which was resolved from the platform JVM path /nonexistent/bin"},
      {"java", jdk_.home + "/bin",
       "Checking JVM at /nonexistent/bin which was resolved from the platform JVM path /nonexistent/bin"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.exe);
    tags_->setValue("JVM_EXE", c.exe);
    LogCapture log;
    std::unique_ptr<JVMMatch> match(jvm_->searchPlatformPath(cp(), cls()));
    ASSERT_NE(nullptr, match);
    EXPECT_EQ(c.home, match->getHome().c_str());
    EXPECT_TRUE(log.has("Searching for Real JDK using platform specific JVM Path hints"));
    EXPECT_TRUE(log.has(c.firstLine));
    EXPECT_EQ(std::string::npos, log.text().find("Checking JVM at  which"));
  }
}

TEST_F(HintSearch, DescriptionWithoutPropertiesIsRefusedByHintsButNotByAHome) {
  TempDir dir;
  std::string file =
      dir.write("noprops.jvm", "DESC: No properties\nJVM_EXE: bin/java\nCLASSPATH: \"-cp \"\nPATH_HINT: " + jdk_.home +
                                   "\nPLATFORM_HINT: JAVA_HOME\nJVM_HOME: " + jdk_.home + "\n");
  TagFile tags(file.c_str());
  JVMFile jvm(&tags, run_.context);
  LogCapture log;
  ScopedEnv javaHome("JAVA_HOME", jdk_.home.c_str());
  std::string path = jdk_.home + "/bin";
  ScopedEnv pathVariable("PATH", path.c_str());
  EXPECT_EQ(nullptr, jvm.searchPlatformHints(cp(), cls()));
  EXPECT_EQ(nullptr, jvm.searchPathHints(cp(), cls()));
  EXPECT_EQ(nullptr, jvm.searchPlatformPath(cp(), cls()));
  EXPECT_EQ(nullptr, jvm.verifyHome(cp(), cls()));
  std::string warning = "WARNING: Unable to verify " + file + " because the JVM_PROPERTIES tag was not specified.\n";
  std::string text = log.text();
  int warnings = 0;
  for (auto at = text.find(warning); at != std::string::npos; at = text.find(warning, at + 1)) ++warnings;
  EXPECT_EQ(4, warnings);
  EXPECT_EQ(std::string::npos, text.find("Verifying JVM at"));
  // Given a home directly, any JVM that runs the verification class will do.
  std::unique_ptr<JVMMatch> match(jvm.verifyAt(jdk_.home.c_str(), cp(), cls(), HomeOrigin::kNamed));
  EXPECT_NE(nullptr, match);
}

TEST_F(HintSearch, VerifyHomeUsesTheDescriptionsOwnHome) {
  tags_->setValue("JVM_HOME", jdk_.home.c_str());
  LogCapture log;
  std::unique_ptr<JVMMatch> match(jvm_->verifyHome(cp(), cls()));
  ASSERT_NE(nullptr, match);
  EXPECT_EQ(jdk_.home, match->getHome().c_str());
  EXPECT_TRUE(log.has("Found matching JVM at " + jdk_.home));
  EXPECT_EQ(std::string::npos, log.text().find("Searching for"));
}

}  // namespace
