// The exhaustive search: which candidates a walk over a tree gives each
// description, which are verified during the walk and which after it, and
// one real walk over every file system of the machine.
#include <gtest/gtest.h>
#include <unistd.h>

#include <memory>
#include <string>
#include <vector>

#include "jvm/JVMFiles.h"
#include "jvm/SearchFixture.h"

namespace {

// A fake that records each run of it in a file (one line with its own path)
// and then answers as a JVM of the given vendor.
std::string RecordingFake(const std::string& runsFile, const std::string& vendor) {
  return "echo \"$0\" >> '" + runsFile + "'\necho 1739021872\necho '" + vendor + "'\n";
}

int LineCount(const std::string& text) {
  int lines = 0;
  for (char c : text) lines += c == '\n';
  return lines;
}

class Exhaustive : public ::testing::Test {
 protected:
  void SetUp() override {
    VerifyClass verify = BuiltVerifyClass();
    files_.setVerifyClass(verify.classPath.c_str(), verify.className.c_str());
    StringDeque roots;
    roots.add(tree_.file("root").c_str());
    files_.setSearchRoots(roots);
  }

  TagFile* add(const char* desc, const char* exe, const char* vendor) {
    std::string property = std::string("java.vendor=") + vendor;
    tags_.emplace_back(NewDescription(desc, exe, {property.c_str()}));
    files_.addJVMFile(new JVMFile(tags_.back().get(), run_.context));
    return tags_.back().get();
  }
  // Writes a recording fake at root/<home>/<exe>; returns the full home.
  std::string fake(const std::string& home, const std::string& vendor, const std::string& exe = "bin/java") {
    std::string full = tree_.file("root/" + home);
    WriteFakeJava(full, RecordingFake(runs(), vendor), exe);
    return full;
  }
  std::string runs() const { return tree_.file("runs"); }
  std::string runsText() const { return ReadFile(runs()); }

  // The tests count the JVMs started: none may be answered from the store.
  ScopedEnv noStore_{"LX_JVM_CACHE", "0"};
  TempDir tree_;
  TestRunContext run_;
  std::vector<std::unique_ptr<TagFile>> tags_;
  JVMFiles files_{run_.context};
};

TEST(ExhaustiveSearch, FoundFileGivesAHomeOnlyAtAPathSeparator) {
  const struct {
    const char* path;
    const char* home;  // null: no candidate
  } cases[] = {
      {"/opt/jre131/jre/bin/java", "/opt/jre131"},
      {"/opt/myjre/bin/java", nullptr},
      {"/java", nullptr},
      {"jre/bin/java", nullptr},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.path);
    TestRunContext run;
    JVMFiles files(run.context);
    std::unique_ptr<TagFile> tags(NewDescription("Jre", "jre/bin/java", {"java.vendor=..."}));
    files.addJVMFile(new JVMFile(tags.get(), run.context));
    EXPECT_EQ(0, files.fileFound(c.path));
    const UnverifiedJVMMatch* candidates = files.getUnverified().first();
    if (!c.home) {
      EXPECT_EQ(nullptr, candidates);
      continue;
    }
    ASSERT_NE(nullptr, candidates);
    EXPECT_EQ(1, candidates->getHomes().count());
    EXPECT_EQ(c.home, candidates->getHomes().first());
  }
}

TEST_F(Exhaustive, SameExecutableGivesEveryDescriptionACandidate) {
  TagFile* first = add("First", "bin/java", "Fake...");
  TagFile* second = add("Second", "bin/java", "Fake...");
  std::string home = fake("opt/x", "Fake Corp.");
  JVMMatchPtrDeque matches;
  files_.searchAll(matches, 0);
  ASSERT_EQ(2, matches.count());
  EXPECT_EQ(first, matches.get(0)->getTagFile());
  EXPECT_EQ(second, matches.get(1)->getTagFile());
  EXPECT_EQ(home, matches.get(0)->getHome().c_str());
  EXPECT_EQ(home, matches.get(1)->getHome().c_str());
}

// jre/bin/java is reported once per name that it ends with; the
// description for bin/java gets the home opt/x/jre twice but tries it once.
TEST_F(Exhaustive, HomeFoundTwiceIsVerifiedOnce) {
  for (int stopAtFirst = 0; stopAtFirst <= 1; ++stopAtFirst) {
    SCOPED_TRACE(stopAtFirst);
    std::remove(runs().c_str());
    TestRunContext run;
    JVMFiles files(run.context);
    VerifyClass verify = BuiltVerifyClass();
    files.setVerifyClass(verify.classPath.c_str(), verify.className.c_str());
    StringDeque roots;
    roots.add(tree_.file("root").c_str());
    files.setSearchRoots(roots);
    std::unique_ptr<TagFile> bin(NewDescription("Bin", "bin/java", {"java.vendor=Nobody"}));
    std::unique_ptr<TagFile> jre(NewDescription("Jre", "jre/bin/java", {"java.vendor=Nobody"}));
    files.addJVMFile(new JVMFile(bin.get(), run.context));
    files.addJVMFile(new JVMFile(jre.get(), run.context));
    fake("opt/x/jre", "Fake Corp.");
    JVMMatchPtrDeque matches;
    files.searchAll(matches, stopAtFirst);
    EXPECT_EQ(0, matches.count());
    // Bin tried opt/x/jre, Jre tried opt/x: one run each.
    EXPECT_EQ(2, LineCount(runsText())) << runsText();
  }
}

TEST_F(Exhaustive, StopAtFirstEndsTheWalkAtTheFirstDescriptionsMatch) {
  add("First", "bin/java", "Fake...");
  add("Second", "bin/java", "...");
  fake("opt/p", "Fake Corp.");
  fake("opt/q", "Fake Corp.");
  JVMMatchPtrDeque matches;
  files_.searchAll(matches, 1);
  ASSERT_EQ(1, matches.count());
  EXPECT_EQ(1, LineCount(runsText())) << runsText();
}

TEST_F(Exhaustive, StopAtFirstVerifiesOtherDescriptionsAfterTheWalk) {
  add("First", "bin/java", "Nobody");
  TagFile* second = add("Second", "bin/java", "Fake...");
  std::string p = fake("opt/p", "Fake Corp.");
  std::string q = fake("opt/q", "Fake Corp.");
  LogCapture log;
  JVMMatchPtrDeque matches;
  files_.searchAll(matches, 1);
  ASSERT_EQ(1, matches.count());
  EXPECT_EQ(second, matches.first()->getTagFile());
  // Both homes were tried for First during the walk, then Second's first
  // candidate matched and ended the search.
  EXPECT_EQ(3, LineCount(runsText())) << runsText();
  const UnverifiedJVMMatch* candidates = files_.getUnverified().first();
  ASSERT_NE(nullptr, candidates);
  EXPECT_EQ(candidates->getHomes().first(), matches.first()->getHome());
  EXPECT_TRUE(log.has("Beginning exhaustive search"));
  EXPECT_TRUE(log.has("Processing unverified matches.\n"));
}

TEST_F(Exhaustive, WithoutStopAtFirstEveryCandidateIsVerified) {
  TagFile* any = add("Any", "bin/java", "...");
  add("Nobody", "bin/java", "Nobody");
  TagFile* fake17 = add("Fake", "bin/java", "Fake...");
  fake("opt/p", "Fake Corp.");
  fake("opt/q", "Other Corp.");
  fake("srv/r", "Fake Corp.");
  JVMMatchPtrDeque matches;
  files_.searchAll(matches, 0);
  EXPECT_EQ(9, LineCount(runsText()));
  // Any matches all three, Fake two of them; in the order of the candidates.
  ASSERT_EQ(5, matches.count());
  const StringDeque& found = files_.getUnverified().first()->getHomes();
  ASSERT_EQ(3, found.count());
  int next = 0;
  for (int i = 0; i < 3; ++i, ++next) {
    EXPECT_EQ(any, matches.get(next)->getTagFile());
    EXPECT_EQ(found.get(i), matches.get(next)->getHome());
  }
  for (int i = 0; i < 3; ++i) {
    if (found.get(i) == tree_.file("root/opt/q").c_str()) continue;
    EXPECT_EQ(fake17, matches.get(next)->getTagFile());
    EXPECT_EQ(found.get(i), matches.get(next)->getHome());
    ++next;
  }
}

// One walk over the whole machine. The second description looks for files
// that only the kernel's pseudo file systems hold, which the walk must not
// enter: it gets no candidate.
TEST(ExhaustiveSearch, FindsEveryJdkInstalledOnThisMachineOutsideProcAndSys) {
  std::vector<InstalledJdk> jdks = RequireJdks(2);
  ASSERT_EQ(0, access("/proc/1/task/1/status", F_OK)) << "this test expects /proc to be mounted";
  ASSERT_EQ(0, access("/sys/devices/system/cpu/online", F_OK)) << "this test expects /sys to be mounted";
  std::unique_ptr<TagFile> tags(NewDescription("Any JDK", "bin/java", {"java.vendor=...", "java.version=..."}));
  std::unique_ptr<TagFile> proc(NewDescription("Proc", "task/1/status", {"java.vendor=..."}));
  std::unique_ptr<TagFile> sys(NewDescription("Sys", "system/cpu/online", {"java.vendor=..."}));
  // Fakes that other tests write outside /tmp (when TMPDIR points
  // elsewhere) may be met on the way; none may hold the walk for long.
  ScopedEnv timeLimit("LX_VERIFY_TIMEOUT", "20");
  TestRunContext run;
  JVMFiles files(run.context);
  files.addJVMFile(new JVMFile(tags.get(), run.context));
  files.addJVMFile(new JVMFile(proc.get(), run.context));
  files.addJVMFile(new JVMFile(sys.get(), run.context));
  VerifyClass verify = BuiltVerifyClass();
  files.setVerifyClass(verify.classPath.c_str(), verify.className.c_str());
  JVMMatchPtrDeque matches;
  files.searchAll(matches, 0);
  for (const InstalledJdk& jdk : jdks) {
    bool found = false;
    for (int i = 0; i < matches.count() && !found; ++i) found = jdk.home == matches.get(i)->getHome().c_str();
    EXPECT_TRUE(found) << jdk.home << " was not found";
  }
  const UnverifiedJVMMatchPtrDeque& candidates = files.getUnverified();
  for (int i = 0; i < candidates.count(); ++i) {
    EXPECT_EQ(tags.get(), candidates.get(i)->getJVMFile()->getTagFile())
        << "the walk found " << candidates.get(i)->getHomes().first();
  }
}

}  // namespace

namespace {

// The disk search runs only java files that nobody but root and the
// launcher's user could have put there or changed; the user's own choice
// of a home is not judged so.
TEST_F(Exhaustive, DiskSearchSkipsJavaFilesOthersCouldHavePlanted) {
  add("Any", "bin/java", "...");
  const struct {
    const char* home;
    const char* setUp;   // shell commands run in the tree's root
    const char* reason;  // the end of the log line; null: it is run
  } cases[] = {
      {"opt/good", "true", nullptr},
      {"open/jdk", "chmod 0777 open", "open may be written by group or others and has no sticky bit"},
      {"sticky/jdk", "chmod 1777 sticky", nullptr},
      {"opt/gw", "chmod 0775 opt/gw/bin/java", "opt/gw/bin/java is writable by group or others"},
      {"opt/link",
       "mkdir -p open/x/bin && mv opt/link/bin/java open/x/bin/java && ln -s ../../../open/x/bin/java "
       "opt/link/bin/java",
       "open may be written by group or others and has no sticky bit"},
      {"other/jdk", "chown 65534 other", "other belongs to user 65534"},
  };
  std::string root = tree_.file("root");
  for (const auto& c : cases) fake(c.home, "Fake Corp.");
  for (const auto& c : cases) {
    if (std::string(c.home) == "other/jdk" && geteuid() != 0) continue;
    std::string command = "cd '" + root + "' && " + c.setUp;
    ASSERT_EQ(0, std::system(command.c_str())) << c.setUp;
  }
  LogCapture log;
  JVMMatchPtrDeque matches;
  files_.searchAll(matches, 0);
  std::string runs = runsText();
  for (const auto& c : cases) {
    SCOPED_TRACE(c.home);
    if (std::string(c.home) == "other/jdk" && geteuid() != 0) continue;
    std::string java = root + "/" + c.home + "/bin/java";
    bool ran = runs.find(java + "\n") != std::string::npos ||
               (std::string(c.home) == "opt/link" && runs.find(root + "/open/x/bin/java\n") != std::string::npos);
    EXPECT_EQ(c.reason == nullptr, ran) << runs;
    if (c.reason) {
      EXPECT_TRUE(log.has("Not starting the JVM at " + root + "/" + c.home +
                          ", which the launcher found by itself: " + root + "/" + c.reason))
          << log.text();
    }
  }
  // A home the user names is theirs to choose.
  VerifyClass verify = BuiltVerifyClass();
  std::unique_ptr<JVMMatch> chosen(files_.get(0)->verifyAt((root + "/open/jdk").c_str(), verify.classPath.c_str(),
                                                           verify.className.c_str(), HomeOrigin::kNamed));
  EXPECT_NE(nullptr, chosen);
}

}  // namespace
