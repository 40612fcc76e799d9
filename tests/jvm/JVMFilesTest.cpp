// The search over a set of JVM descriptions: the user's java home, the
// hints description by description, the hand-over to the exhaustive search,
// and the description written out for a match.
#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <memory>
#include <string>
#include <vector>

#include "archive/ArchiveWriter.h"
#include "archive/LauncherFile.h"
#include "fsutil/TempFiles.h"
#include "jvm/JVMFiles.h"
#include "jvm/SearchFixture.h"
#include "support/TempDir.h"
#include "support/TestRunContext.h"

namespace {

const char kFakeAnswer[] = "echo 1739021872\necho 'Fake Corp.'\n";

class SearchSet : public DescriptionSetTest {
 protected:
  // A description that only the given JDK satisfies.
  TagFile* addJdkDescription(const char* desc, const InstalledJdk& jdk) {
    std::string exact = "java.specification.version=" + jdk.specificationVersion;
    return add(NewDescription(desc, "bin/java", {exact.c_str(), "java.vendor=..."}));
  }
  void searchTree(const std::string& root) {
    StringDeque roots;
    roots.add(root.c_str());
    files_.setSearchRoots(roots);
  }
};

TEST_F(SearchSet, UserJavaHomeIsTriedWithEveryDescriptionBeforeAnyHint) {
  std::vector<InstalledJdk> jdks = RequireJdks(1);
  ASSERT_FALSE(jdks.empty());
  TagFile* never = add(NewDescription("Never", "bin/java", {"java.specification.version=0"}));
  never->addValue("PATH_HINT", jdks.front().home.c_str());
  TagFile* wanted = addJdkDescription("Wanted", jdks.front());
  run_.options.javaHome = jdks.front().home.c_str();
  LogCapture log;
  JVMMatchPtrDeque matches;
  files_.find(matches);
  ASSERT_EQ(1, matches.count());
  EXPECT_EQ(wanted, matches.first()->getTagFile());
  EXPECT_EQ(jdks.front().home, matches.first()->getHome().c_str());
  EXPECT_TRUE(log.has("Checking user specified Java home directory => " + jdks.front().home));
  EXPECT_EQ(std::string::npos, log.text().find("Initiating JVM search based on hints..."));
}

TEST_F(SearchSet, HintsFollowWhenTheUserHomeDoesNotMatch) {
  std::vector<InstalledJdk> jdks = RequireJdks(1);
  ASSERT_FALSE(jdks.empty());
  TagFile* wanted = addJdkDescription("Wanted", jdks.front());
  wanted->addValue("PATH_HINT", jdks.front().home.c_str());
  run_.options.javaHome = "/nonexistent/lx-user-jdk";
  LogCapture log;
  JVMMatchPtrDeque matches;
  files_.find(matches);
  ASSERT_EQ(1, matches.count());
  EXPECT_EQ(wanted, matches.first()->getTagFile());
  std::string text = log.text();
  std::string::size_type user = text.find("Checking user specified Java home directory => /nonexistent/lx-user-jdk\n");
  std::string::size_type hints = text.find("Initiating JVM search based on hints...\n");
  ASSERT_NE(std::string::npos, user);
  ASSERT_NE(std::string::npos, hints);
  EXPECT_LT(user, hints);
}

TEST_F(SearchSet, NothingFoundLeavesTheListEmptyWithoutAWalk) {
  TagFile* only = add(NewDescription("Only", "bin/java", {"java.vendor=Nobody"}));
  only->addValue("PATH_HINT", "/nonexistent/lx-jdk");
  LogCapture log;
  ScopedEnv path("PATH", "/nonexistent/bin");
  JVMMatchPtrDeque matches;
  files_.find(matches);
  EXPECT_EQ(0, matches.count());
  EXPECT_TRUE(log.has("/nonexistent/lx-jdk/bin/java does not exist"));
  EXPECT_EQ(std::string::npos, log.text().find("Beginning exhaustive search"));
}

TEST_F(SearchSet, DescriptionWithoutPropertiesMatchesAnyJvmAtTheUserHome) {
  std::vector<InstalledJdk> jdks = RequireJdks(1);
  ASSERT_FALSE(jdks.empty());
  TagFile* loose = add(NewDescription("Loose", "bin/java", {}));
  run_.options.javaHome = jdks.front().home.c_str();
  JVMMatchPtrDeque matches;
  files_.find(matches);
  ASSERT_EQ(1, matches.count());
  EXPECT_EQ(loose, matches.first()->getTagFile());
}

// The first description asks for the exhaustive search: the second one's
// hints are not consulted, the walk looks for both.
TEST_F(SearchSet, DescriptionsAfterASearchAllOneAreLeftToTheWalk) {
  std::vector<InstalledJdk> jdks = RequireJdks(1);
  ASSERT_FALSE(jdks.empty());
  const struct {
    const char* vendor;  // what the fake in the tree says
    int matchedDescription;
  } cases[] = {{"Fake Corp.", 0}, {"Other Corp.", 1}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.vendor);
    JVMFiles files(run_.context);
    VerifyClass verify = BuiltVerifyClass();
    files.setVerifyClass(verify.classPath.c_str(), verify.className.c_str());
    std::unique_ptr<TagFile> first(NewDescription("First", "bin/java", {"java.vendor=Fake..."}));
    first->setValue("SEARCH_ALL", "1");
    first->addValue("PATH_HINT", "/nonexistent/lx-jdk");
    std::unique_ptr<TagFile> second(NewDescription("Second", "bin/java", {"java.vendor=..."}));
    second->addValue("PATH_HINT", jdks.front().home.c_str());
    files.addJVMFile(new JVMFile(first.get(), run_.context));
    files.addJVMFile(new JVMFile(second.get(), run_.context));
    TempDir tree;
    WriteFakeJava(tree.file("opt/fake"), std::string("echo 1739021872\necho '") + c.vendor + "'\n");
    StringDeque roots;
    roots.add(tree.path().c_str());
    files.setSearchRoots(roots);

    LogCapture log;
    // Declared last: the test directories are removed with the shell.
    ScopedEnv path("PATH", "/nonexistent/bin");
    JVMMatchPtrDeque matches;
    files.find(matches);
    ASSERT_EQ(1, matches.count());
    EXPECT_EQ(c.matchedDescription == 0 ? first.get() : second.get(), matches.first()->getTagFile());
    EXPECT_EQ(tree.file("opt/fake"), matches.first()->getHome().c_str());
    EXPECT_TRUE(log.has("Searching for First using path hints"));
    EXPECT_EQ(std::string::npos, log.text().find("Searching for Second"));
    EXPECT_TRUE(log.has("Beginning exhaustive search"));
  }
}

TEST_F(SearchSet, SearchAllStoppingAtTheFirstKeepsTheMatchOfTheWalk) {
  add(NewDescription("Fake", "bin/java", {"java.vendor=Fake..."}));
  TempDir tree;
  WriteFakeJava(tree.file("opt/fake"), kFakeAnswer);
  searchTree(tree.path());
  JVMMatchPtrDeque matches;
  files_.searchAll(matches, 1);
  ASSERT_EQ(1, matches.count());
  EXPECT_EQ(tree.file("opt/fake"), matches.first()->getHome().c_str());
}

TEST_F(SearchSet, WrittenDescriptionHoldsEveryTagAndNamesItself) {
  // The test owns the temporary directory, whatever an earlier test in the
  // process left as the root or in TMPDIR.
  TempDir root;
  const SString previousRoot = GetTempRoot();
  const char* tmpdir = std::getenv("TMPDIR");
  const std::string previousTmpdir = tmpdir ? tmpdir : "";
  unsetenv("TMPDIR");
  SetTempRoot(root.path().c_str());
  struct Restore {
    const SString& root;
    const std::string& tmpdir;
    ~Restore() {
      SetTempRoot(root);
      if (!tmpdir.empty()) setenv("TMPDIR", tmpdir.c_str(), 1);
    }
  } restore{previousRoot, previousTmpdir};
  TagFile* tags = add(NewDescription("Written", "jre/bin/java", {"java.vendor=...", "java.version=1.8..."}));
  tags->setValue("INIT_JAVA_HEAP", "-Xms");
  for (int temp = 0; temp <= 1; ++temp) {
    SCOPED_TRACE(temp);
    JVMMatch match("/opt/jre8", tags);
    if (temp) match.setTemp();
    SString path = match.writeJvmFile();
    EXPECT_EQ(0, path.find((root.path() + "/lxj").c_str())) << path.c_str();
    TagFile written(path);
    const char* copied[] = {"DESC", "JVM_EXE", "INIT_JAVA_HEAP", "CLASSPATH", "SYSTEM_SEPARATOR"};
    for (const char* name : copied) EXPECT_EQ(tags->getValue(name, 0), written.getValue(name, 0)) << name;
    EXPECT_EQ(2, written.getValueCount("JVM_PROPERTIES"));
    EXPECT_EQ("java.version=1.8...", written.getValue("JVM_PROPERTIES", 1));
    EXPECT_EQ("/opt/jre8", written.getValue("JVM_HOME", 0));
    EXPECT_EQ(path, written.getValue("JVM_FILE", 0));
    EXPECT_EQ(temp ? "1" : "0", written.getValue("JVM_TEMP", 0));
    // The description keeps what was written.
    EXPECT_EQ(path, tags->getValue("JVM_FILE", 0));
    UnregisterTempFile(path);
    std::remove(path.c_str());
  }
}

TEST_F(SearchSet, VerifyClassGivenByTheInputFileIsKept) {
  JVMFiles files(run_.context);
  files.setVerifyClass("\"/opt/app/Check.jar\"", "\"Check\"");
  SString classPath, className;
  files.getVerifyClass(classPath, className);
  EXPECT_EQ("\"/opt/app/Check.jar\"", classPath);
  EXPECT_EQ("\"Check\"", className);
}

// The launcher's own verification class travels in the archive as a
// type-5 entry; the last one is the one used.
class ArchivedVerifyClass : public ::testing::Test {
 protected:
  void useLauncher(const std::vector<ArchiveMember>& members) {
    std::string path = dir_.file("setup.bin");
    FILE* out = std::fopen(path.c_str(), "wb");
    ASSERT_NE(nullptr, out);
    writeLauncher(out, dir_.write("program", "#!fake program\n").c_str(), members, 0);
    std::fclose(out);
    run_.loadLauncher(path.c_str());
  }

  static ArchiveMember member(int type, uint32_t id, const char* name, const std::string& source) {
    ArchiveMember m;
    m.type = type;
    m.id = id;
    m.name = name;
    m.sourcePath = source.c_str();
    return m;
  }

  TempDir dir_;
  TestRunContext run_;
};

TEST_F(ArchivedVerifyClass, LastVerifyEntryIsExtractedAndQuoted) {
  std::string jar = BuiltVerifyJar();
  ASSERT_FALSE(jar.empty()) << "Verify.jar is missing next to the test binary";
  useLauncher({member(FT_VERIFY, 0, "Old.jar", dir_.write("old", "not a jar")),
               member(FT_APPLICATION, 1, "app.jar", dir_.write("app", "app")),
               member(FT_VERIFY, 2, "Verify.jar", jar)});
  // The extracted files land in the test's directory and go with it.
  ScopedEnv tmpdir("TMPDIR", dir_.path().c_str());
  JVMFiles files(run_.context);
  SString classPath, className;
  files.getVerifyClass(classPath, className);
  EXPECT_EQ("\"Verify\"", className);
  ASSERT_GT(classPath.length(), 2u);
  EXPECT_EQ('"', classPath[0]);
  EXPECT_EQ('"', classPath[classPath.length() - 1]);
  std::string extracted(classPath.c_str() + 1, classPath.length() - 2);
  EXPECT_EQ(0u, extracted.find(dir_.path() + "/lxj"));
  EXPECT_EQ("/Verify.jar", extracted.substr(extracted.rfind('/')));
  EXPECT_EQ(ReadFile(jar), ReadFile(extracted));

  // Prepared once: asking again extracts nothing new.
  SString again, againName;
  files.getVerifyClass(again, againName);
  EXPECT_EQ(classPath, again);

  // And the extracted class verifies a real JDK.
  std::vector<InstalledJdk> jdks = RequireJdks(1);
  ASSERT_FALSE(jdks.empty());
  std::unique_ptr<TagFile> tags(NewDescription("Any", "bin/java", {"java.vendor=..."}));
  JVMFile jvm(tags.get(), run_.context);
  std::unique_ptr<JVMMatch> match(jvm.verifyAt(jdks.front().home.c_str(), classPath, className, HomeOrigin::kNamed));
  EXPECT_NE(nullptr, match);
}

TEST_F(ArchivedVerifyClass, WithoutVerifyEntryNothingIsKnown) {
  useLauncher({member(FT_APPLICATION, 0, "app.jar", dir_.write("app", "app"))});
  JVMFiles files(run_.context);
  SString classPath = "unchanged", className = "unchanged";
  files.getVerifyClass(classPath, className);
  EXPECT_EQ("", classPath);
  EXPECT_EQ("", className);
}

}  // namespace
