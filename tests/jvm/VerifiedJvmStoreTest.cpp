// The store of verified JVMs: an answer is used again only for the same
// java file, verification class and question, the store stays private and
// whole, and whatever is wrong with it costs a verification, never a run.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <memory>
#include <string>

#include "jvm/JVMFile.h"
#include "jvm/JVMMatch.h"
#include "jvm/SearchFixture.h"
#include "jvm/VerifiedJvmStore.h"

namespace {

int LineCount(const std::string& text) {
  int lines = 0;
  for (char c : text) lines += c == '\n';
  return lines;
}

// A home whose java counts its starts in a file and answers as a JVM of
// vendor Fake Corp. and version 17.0.9; the cache directory is the test's
// own.
class Store : public ::testing::Test {
 protected:
  void SetUp() override {
    cache_ = dir_.file("cache");
    cacheEnv_.reset(new ScopedEnv("XDG_CACHE_HOME", cache_.c_str()));
    home_ = dir_.file("jdk");
    java_ = WriteFakeJava(home_, body());
    jar_ = dir_.write("Verify.jar", "the class");
    tags_.reset(NewDescription("Fake", "bin/java", {"java.vendor=Fake..."}));
  }
  std::string body() const {
    return "echo run >> '" + dir_.file("runs") + "'\necho 1739021872\necho 'Fake Corp.'\necho 17.0.9\n";
  }
  int runs() const { return LineCount(ReadFile(dir_.file("runs"))); }
  std::string storeFile() const { return cache_ + "/lxlauncher/verified-jvms"; }
  // The key of a verification of the fake told apart by its context only.
  VerificationKey key(int context) const {
    VerificationKey key;
    StringPairPtrDeque properties;
    EXPECT_TRUE(makeVerificationKey(java_.c_str(), ("\"" + jar_ + "\"").c_str(), "\"Verify\"", properties,
                                    fromLong(context), key));
    return key;
  }

  bool verify(const std::string& jar = "", const char* className = "\"Verify\"") {
    TestRunContext run;
    JVMFile jvm(tags_.get(), run.context);
    std::string classPath = "\"" + (jar.empty() ? jar_ : jar) + "\"";
    std::unique_ptr<JVMMatch> match(jvm.verifyAt(home_.c_str(), classPath.c_str(), className, HomeOrigin::kNamed));
    return match != nullptr;
  }

  TempDir dir_;
  std::string cache_, home_, java_, jar_;
  std::unique_ptr<ScopedEnv> cacheEnv_;
  std::unique_ptr<TagFile> tags_;
};

TEST_F(Store, SecondVerificationStartsNoJvmAndSaysSo) {
  ASSERT_TRUE(verify());
  EXPECT_EQ(1, runs());
  LogCapture log;
  ASSERT_TRUE(verify());
  EXPECT_EQ(1, runs());
  EXPECT_TRUE(log.has("Took the answer for " + java_ + " from the store of verified JVMs " + storeFile() +
                      " instead of starting it"))
      << log.text();
  EXPECT_TRUE(log.has("Found matching JVM at " + home_));
  // The answer is for every description that asks the same.
  tags_.reset(NewDescription("Other", "bin/java", {"java.vendor=Other..."}));
  EXPECT_FALSE(verify());
  EXPECT_EQ(1, runs());
}

TEST_F(Store, ChangedJavaFileIsVerifiedAgain) {
  const struct {
    const char* what;
    std::string command;
  } cases[] = {
      {"touched", "touch -d '2001-02-03 04:05:06' '" + java_ + "'"},
      {"mode changed", "chmod 0700 '" + java_ + "'"},
      {"replaced by another file",
       "cp -p '" + java_ + "' '" + java_ + ".new' && mv '" + java_ + ".new' '" + java_ + "'"},
      {"grown", "echo '# more' >> '" + java_ + "'"},
  };
  ASSERT_TRUE(verify());
  int expected = 1;
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    ASSERT_EQ(0, std::system(c.command.c_str()));
    ASSERT_TRUE(verify());
    EXPECT_EQ(++expected, runs());
    ASSERT_TRUE(verify());
    EXPECT_EQ(expected, runs()) << "the unchanged file was verified again";
  }
}

TEST_F(Store, OtherVerificationClassOrQuestionIsVerifiedAgain) {
  ASSERT_TRUE(verify());
  // The same bytes elsewhere are the same class: the launcher extracts its
  // own to a new directory at every start.
  ASSERT_TRUE(verify(dir_.write("elsewhere.jar", "the class")));
  EXPECT_EQ(1, runs());
  ASSERT_TRUE(verify(dir_.write("other.jar", "another class")));
  EXPECT_EQ(2, runs());
  ASSERT_TRUE(verify("", "\"Check\""));
  EXPECT_EQ(3, runs());
  tags_->addValue("JVM_PROPERTIES", "java.version=...");
  ASSERT_TRUE(verify());
  EXPECT_EQ(4, runs());
  ScopedEnv options("JAVA_TOOL_OPTIONS", "-Djava.vendor=Other");
  ASSERT_TRUE(verify());
  EXPECT_EQ(5, runs());
}

// After a failed launch, the launcher asks whether the JVM whose answer it
// took changed since: then the answer no longer describes it.
TEST_F(Store, RecalledAnswerTellsWhetherTheJvmsFilesChangedSince) {
  const std::string library = home_ + "/lib/server/libjvm.so";
  const struct {
    const char* what;
    std::string before;
    std::string change;
    bool changed;
  } cases[] = {
      {"nothing happened", "rm -f '" + library + "'", "true", false},
      {"its JVM library appeared", "rm -f '" + library + "'", "echo elf > '" + library + "'", true},
      {"its JVM library went away", "echo elf > '" + library + "'", "rm '" + library + "'", true},
      {"its java file was replaced", "true",
       "cp -p '" + java_ + "' '" + java_ + ".new' && mv '" + java_ + ".new' '" + java_ + "'", true},
      {"its java file went away", "true", "rm '" + java_ + "'", true},
  };
  ASSERT_EQ(0, std::system(("mkdir -p '" + home_ + "/lib/server'").c_str()));
  EXPECT_FALSE(recalledFilesChanged(java_.c_str())) << "nothing was recalled yet";
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    WriteFakeJava(home_, body());
    ASSERT_EQ(0, std::system(c.before.c_str()));
    ASSERT_TRUE(verify());
    ASSERT_TRUE(verify());
    ASSERT_TRUE(answerWasRecalled(java_.c_str()));
    ASSERT_EQ(0, std::system(c.change.c_str()));
    EXPECT_EQ(c.changed, recalledFilesChanged(java_.c_str()));
    forgetAnswers(java_.c_str());
    EXPECT_FALSE(recalledFilesChanged(java_.c_str())) << "a forgotten answer was still asked about";
  }
}

TEST_F(Store, TurnedOffByLxJvmCacheZero) {
  ScopedEnv off("LX_JVM_CACHE", "0");
  ASSERT_TRUE(verify());
  ASSERT_TRUE(verify());
  EXPECT_EQ(2, runs());
  EXPECT_NE(0, access(storeFile().c_str(), F_OK));
}

TEST_F(Store, IncompleteAnswersAreNotRemembered) {
  WriteFakeJava(home_, "echo run >> '" + dir_.file("runs") + "'\necho 'Error: could not start'\n");
  EXPECT_FALSE(verify());
  EXPECT_FALSE(verify());
  EXPECT_EQ(2, runs());
}

TEST_F(Store, StoreIsPrivateWhateverTheUmask) {
  mode_t previous = umask(0);
  bool verified = verify();
  umask(previous);
  ASSERT_TRUE(verified);
  struct stat st;
  ASSERT_EQ(0, stat(storeFile().c_str(), &st));
  EXPECT_EQ(0600u, st.st_mode & 0777);
  ASSERT_EQ(0, stat((cache_ + "/lxlauncher").c_str(), &st));
  EXPECT_EQ(0700u, st.st_mode & 0777);
}

TEST_F(Store, DamagedOrForeignStoreIsIgnoredAndWrittenAnew) {
  const struct {
    const char* what;
    std::string command;
    bool needsRoot;
  } cases[] = {
      {"garbage", "head -c 5000 /dev/urandom > '" + storeFile() + "'", false},
      {"cut short", "head -c 200 '" + storeFile() + "' > x && cat x > '" + storeFile() + "'", false},
      {"one byte changed", "printf Z | dd of='" + storeFile() + "' bs=1 seek=40 conv=notrunc status=none", false},
      {"readable by others", "chmod 0644 '" + storeFile() + "'", false},
      {"another user's", "chown 65534 '" + storeFile() + "'", true},
      {"a link elsewhere", "cp '" + storeFile() + "' copy && ln -sf \"$PWD/copy\" '" + storeFile() + "'", false},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    if (c.needsRoot && geteuid() != 0) continue;
    std::remove(storeFile().c_str());
    std::remove(dir_.file("runs").c_str());
    ASSERT_TRUE(verify());
    std::string command = "cd '" + dir_.path() + "' && " + c.command;
    ASSERT_EQ(0, std::system(command.c_str()));
    ASSERT_TRUE(verify());
    EXPECT_EQ(2, runs()) << "a damaged or foreign store was believed";
    ASSERT_TRUE(verify());
    EXPECT_EQ(2, runs()) << "the store was not written anew";
  }
}

TEST_F(Store, UnusableStoreDirectoryOnlyCostsTheVerification) {
  // Even root cannot make a directory below a plain file.
  dir_.write("file", "");
  ScopedEnv cache("XDG_CACHE_HOME", dir_.file("file/cache").c_str());
  LogCapture log;
  ASSERT_TRUE(verify());
  ASSERT_TRUE(verify());
  EXPECT_EQ(2, runs());
  EXPECT_NE(std::string::npos, log.text().find("No private directory " + dir_.file("file/cache/lxlauncher") +
                                               " can be made: Not a directory"))
      << log.text();
}

// A cache directory reached through another user's link or directory is
// theirs to change: no store is made or read there.
TEST_F(Store, NoStoreOnAWayAnotherUserCouldChange) {
  const uid_t other = geteuid() == 12345 ? 12346 : 12345;
  ASSERT_EQ(0, std::system(("mkdir -p '" + dir_.file("theirs/cache") + "'").c_str()));
  if (chown(dir_.file("theirs").c_str(), other, other) != 0) GTEST_SKIP() << "cannot give a directory to another user";
  // Writable for this user too, as a directory shared by mistake would be.
  chmod(dir_.file("theirs").c_str(), 0777);
  chmod(dir_.file("theirs/cache").c_str(), 0777);
  ASSERT_EQ(0, symlink(dir_.file("theirs").c_str(), dir_.file("link").c_str()));
  ScopedEnv cache("XDG_CACHE_HOME", dir_.file("link/cache").c_str());
  LogCapture log;
  ASSERT_TRUE(verify());
  ASSERT_TRUE(verify());
  EXPECT_EQ(2, runs());
  EXPECT_NE(0, access(dir_.file("theirs/cache/lxlauncher").c_str(), F_OK)) << "a directory was made in theirs";
  EXPECT_TRUE(log.text().find("may be changed by another user") != std::string::npos) << log.text();
}

TEST_F(Store, ReadOnlyStoreDirectoryOnlyCostsTheVerification) {
  if (geteuid() == 0) GTEST_SKIP() << "root writes into read-only directories (the case above covers root)";
  ASSERT_TRUE(verify());
  ASSERT_EQ(0, chmod((cache_ + "/lxlauncher").c_str(), 0500));
  tags_->addValue("JVM_PROPERTIES", "java.version=...");
  EXPECT_TRUE(verify());
  EXPECT_TRUE(verify());
  EXPECT_EQ(3, runs());
  chmod((cache_ + "/lxlauncher").c_str(), 0700);
}

TEST_F(Store, NoStoreWithoutHome) {
  const char* homes[] = {nullptr, "", "/nonexistent/lx-home"};
  for (const char* home : homes) {
    SCOPED_TRACE(home ? home : "(unset)");
    std::remove(dir_.file("runs").c_str());
    ScopedEnv homeEnv("HOME", home);
    LogCapture log;
    ASSERT_TRUE(verify());
    ASSERT_TRUE(verify());
    EXPECT_EQ(2, runs());
    EXPECT_NE(0, access(storeFile().c_str(), F_OK));
    EXPECT_NE(0, access("/nonexistent", F_OK));
    EXPECT_TRUE(log.has("No store of verified JVMs: HOME is not set, or not a writable directory.")) << log.text();
  }
}

TEST_F(Store, OldestAnswersGoFirst) {
  for (int i = 0; i < kMostStoredAnswers + 5; ++i) storeAnswer(key(i), ("answer " + std::to_string(i)).c_str());
  for (int i = 0; i < kMostStoredAnswers + 5; ++i) {
    SString answer;
    EXPECT_EQ(i >= 5, findStoredAnswer(key(i), answer)) << i;
    if (i >= 5) {
      EXPECT_EQ(("answer " + std::to_string(i)).c_str(), answer);
    }
  }
}

// Launchers that store at the same moment all keep their answers, and the
// store is whole afterwards.
TEST_F(Store, ConcurrentWritersLoseNothing) {
  const int kWriters = 4;
  const int kAnswersEach = 20;
  pid_t writers[kWriters];
  for (int w = 0; w < kWriters; ++w) {
    writers[w] = fork();
    ASSERT_GE(writers[w], 0);
    if (writers[w] == 0) {
      for (int i = 0; i < kAnswersEach; ++i) storeAnswer(key(w * kAnswersEach + i), "answer");
      _exit(0);
    }
  }
  for (pid_t writer : writers) {
    int status = 0;
    ASSERT_EQ(writer, waitpid(writer, &status, 0));
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
  }
  for (int i = 0; i < kWriters * kAnswersEach; ++i) {
    SString answer;
    EXPECT_TRUE(findStoredAnswer(key(i), answer)) << i;
  }
}

}  // namespace
