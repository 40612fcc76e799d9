// The release file of a JVM home rules out candidates whose java.version
// cannot be the one required, without starting them; in every other case
// the JVM is started and decides.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <memory>
#include <string>
#include <vector>

#include "jvm/JVMFile.h"
#include "jvm/JVMMatch.h"
#include "jvm/ReleaseFile.h"
#include "jvm/SearchFixture.h"

namespace {

// A fake home whose java records that it was started and then answers for
// java.version and java.vendor as a JVM of the given version.
std::string FakeHome(const TempDir& dir, const std::string& version, const char* release) {
  std::string home = dir.file("jdk");
  WriteFakeJava(home, "echo started >> '" + dir.file("started") + "'\necho 1739021872\n" + "for a in \"$@\"; do\n" +
                          "  case $a in java.version) echo " + version + ";; java.vendor) echo 'Fake Corp.';; esac\n" +
                          "done\n");
  if (release) dir.write("jdk/release", release);
  return home;
}

TEST(ReleaseFile, RulesOutOnlyVersionsThatDifferWhereBothHaveCharacters) {
  const struct {
    const char* what;
    const char* property;  // the description's one requirement
    const char* release;   // null: no release file
    const char* jvmVersion;
    bool started;
    bool matches;
  } cases[] = {
      {"older major version", "java.version=17...", "JAVA_VERSION=\"11.0.2\"\n", "11.0.2", false, false},
      {"the required one", "java.version=17...", "IMPLEMENTOR=\"X\"\nJAVA_VERSION=\"17.0.15\"\n", "17.0.15", true,
       true},
      {"old version scheme", "java.version=17...", "JAVA_VERSION=\"1.8.0_392\"\n", "1.8.0_392", false, false},
      {"release shorter than the exact value", "java.version=1.8.0_392", "JAVA_VERSION=\"1.8.0\"\n", "1.8.0_392", true,
       true},
      {"no release file", "java.version=17...", nullptr, "11.0.2", true, false},
      {"release file without JAVA_VERSION", "java.version=17...", "IMPLEMENTOR=\"X\"\n", "11.0.2", true, false},
      {"vendor required only", "java.vendor=Fake...", "JAVA_VERSION=\"11.0.2\"\n", "11.0.2", true, true},
      {"any version", "java.version=...", "JAVA_VERSION=\"11.0.2\"\n", "11.0.2", true, true},
      {"unquoted value", "java.version=17...", "JAVA_VERSION=11.0.2\n", "11.0.2", false, false},
      // The release file is never taken for the JVM's word.
      {"release file that lies", "java.version=17...", "JAVA_VERSION=\"17.0.15\"\n", "11.0.2", true, false},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    TempDir dir;
    std::string home = FakeHome(dir, c.jvmVersion, c.release);
    std::unique_ptr<TagFile> tags(NewDescription("Fake", "bin/java", {c.property}));
    TestRunContext run;
    JVMFile jvm(tags.get(), run.context);
    VerifyClass verify = BuiltVerifyClass();
    LogCapture log;
    std::unique_ptr<JVMMatch> match(
        jvm.verifyAt(home.c_str(), verify.classPath.c_str(), verify.className.c_str(), HomeOrigin::kNamed));
    EXPECT_EQ(c.matches, match != nullptr);
    EXPECT_EQ(c.started, ReadFile(dir.file("started")) == "started\n");
    std::string required = std::string(c.property).substr(std::string(c.property).find('=') + 1);
    bool skipLogged = log.has("Skipping " + home + "/bin/java: its release file gives JAVA_VERSION " + c.jvmVersion +
                              ", the description requires java.version " + required);
    EXPECT_EQ(!c.started, skipLogged) << log.text();
  }
}

// A pipe in place of the release file must not hold the search.
TEST(ReleaseFile, PipeInPlaceOfTheFileIsNotRead) {
  TempDir dir;
  ASSERT_EQ(0, mkfifo(dir.file("release").c_str(), 0600));
  SString version;
  EXPECT_FALSE(readReleaseJavaVersion(dir.path().c_str(), version));
  EXPECT_FALSE(readReleaseJavaVersion(dir.file("nothing").c_str(), version));
}

// The machine's JDKs: a description for the newest, with an older one
// listed first, does not start the older one.
TEST(ReleaseFile, OlderRealJdkListedFirstIsNotStarted) {
  std::vector<InstalledJdk> jdks = RequireJdks(2);
  ASSERT_GE(jdks.size(), 2u);
  const InstalledJdk* older = nullptr;
  const InstalledJdk* newer = nullptr;
  SString olderVersion, newerVersion;
  for (const InstalledJdk& a : jdks) {
    for (const InstalledJdk& b : jdks) {
      SString va, vb;
      if (!readReleaseJavaVersion(a.home.c_str(), va) || !readReleaseJavaVersion(b.home.c_str(), vb)) continue;
      if (std::stoi(va.c_str()) < std::stoi(vb.c_str())) {
        older = &a, newer = &b, olderVersion = va, newerVersion = vb;
      }
    }
  }
  ASSERT_NE(nullptr, older) << "this test needs two JDKs of different versions with release files";
  std::string wanted = "java.version=" + std::string(newerVersion.substr(0, newerVersion.find('.')).c_str()) + "...";
  std::unique_ptr<TagFile> tags(NewDescription("Newer", "bin/java", {wanted.c_str(), "java.vendor=..."}));
  tags->addValue("PATH_HINT", older->home.c_str());
  tags->addValue("PATH_HINT", newer->home.c_str());
  TestRunContext run;
  JVMFile jvm(tags.get(), run.context);
  VerifyClass verify = BuiltVerifyClass();
  LogCapture log;
  std::unique_ptr<JVMMatch> match(jvm.searchPathHints(verify.classPath.c_str(), verify.className.c_str()));
  ASSERT_NE(nullptr, match);
  EXPECT_EQ(newer->home, match->getHome().c_str());
  std::string text = log.text();
  EXPECT_TRUE(log.has("Skipping " + older->home + "/bin/java: its release file gives JAVA_VERSION " +
                      olderVersion.c_str() + ", the description requires java.version " + wanted.substr(13)))
      << text;
  EXPECT_EQ(std::string::npos, text.find("Executing launch script command: \"" + older->home)) << text;
  EXPECT_NE(std::string::npos, text.find("Executing launch script command: \"" + newer->home)) << text;
}

}  // namespace
