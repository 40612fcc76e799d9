// What the search tells about each candidate: the log says why it was
// turned down, a search that finds nothing ends with one summary line per
// description, the console names each description's verification once,
// and a candidate that prints without end is stopped.
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdio>
#include <map>
#include <memory>
#include <string>

#include "jvm/JVMFiles.h"
#include "jvm/SearchFixture.h"
#include "messages/Console.h"
#include "messages/Messages.h"

namespace {

// Answers for java.version and java.vendor as a JVM of the given version.
std::string Answering(const std::string& version) {
  return "echo 1739021872\nfor a in \"$@\"; do\n  case $a in java.version) echo " + version +
         ";; java.vendor) echo 'Fake Corp.';; esac\ndone\n";
}

class Outcomes : public DescriptionSetTest {
 protected:
  TempDir dir_;
  // No candidates from PATH: each test names its own.
  ScopedEnv path_{"PATH", ""};
};

TEST_F(Outcomes, EachCandidateSaysWhyAndTheSummaryEndsTheLog) {
  WriteFakeJava(dir_.file("old"), Answering("11.0.2"));
  dir_.write("old/release", "JAVA_VERSION=\"11.0.2\"\n");
  WriteFakeJava(dir_.file("other"), Answering("17.0.1"));
  WriteFakeJava(dir_.file("mute"), "echo 'Error: no JVM here'\n");
  TagFile* tags = add(NewDescription("Java 17.0.9", "bin/java", {"java.version=17.0.9...", "java.vendor=..."}));
  for (const char* home : {"missing", "old", "other", "mute"}) tags->addValue("PATH_HINT", dir_.file(home).c_str());
  add(NewDescription("Nothing", "bin/java", {"java.vendor=..."}));
  LogCapture log;
  JVMMatchPtrDeque matches;
  files_.find(matches);
  EXPECT_EQ(0, matches.count());
  std::string text = log.text();
  std::string missing = dir_.file("missing/bin/java"), old = dir_.file("old/bin/java");
  std::string other = dir_.file("other/bin/java"), mute = dir_.file("mute/bin/java");
  EXPECT_TRUE(log.has(missing + " does not exist")) << text;
  EXPECT_TRUE(log.has("Skipping " + old +
                      ": its release file gives JAVA_VERSION 11.0.2, the description requires java.version 17.0.9..."))
      << text;
  EXPECT_TRUE(log.has("No match at " + other + ": java.version is 17.0.1, required 17.0.9...")) << text;
  EXPECT_TRUE(log.has("No match at " + mute + ": it printed no verification line")) << text;
  std::string summaries =
      "No JVM matched Java 17.0.9 (requires java.version=17.0.9..., java.vendor=...): the candidates had " + missing +
      ": not present; " + old + ": release file gives JAVA_VERSION 11.0.2; " + other +
      ": java.version is 17.0.1, required 17.0.9...; " + mute +
      ": it printed no verification line\n"
      "No JVM matched Nothing (requires java.vendor=...): no candidate was found\n";
  ASSERT_GE(text.size(), summaries.size());
  EXPECT_EQ(summaries, text.substr(text.size() - summaries.size())) << text;
}

TEST_F(Outcomes, AMatchLeavesNoSummary) {
  WriteFakeJava(dir_.file("good"), Answering("17.0.9"));
  TagFile* tags = add(NewDescription("Java 17", "bin/java", {"java.version=17..."}));
  tags->addValue("PATH_HINT", dir_.file("good").c_str());
  LogCapture log;
  JVMMatchPtrDeque matches;
  files_.find(matches);
  EXPECT_EQ(1, matches.count());
  EXPECT_EQ(std::string::npos, log.text().find("No JVM matched")) << log.text();
}

// The reason of each home turned down, as "reason version" by home.
std::map<std::string, std::string> Rejections(const JVMFile& jvm) {
  static const char* const kNames[] = {"too old",     "too new",     "headless", "other machine",
                                       "not started", "not trusted", "unsafe",   "unfit"};
  std::map<std::string, std::string> byHome;
  const RejectedHomes& rejected = jvm.rejectedHomes();
  for (int i = 0; i < rejected.count(); ++i) {
    const RejectedHome* home = rejected.get(i);
    byHome[home->home.c_str()] = std::string(kNames[static_cast<int>(home->reason)]) + " " + home->version.c_str();
  }
  return byHome;
}

// Each Java found and turned down is noted with the reason its user is
// told, from the release file, the files of its home or its answer; a hint
// naming no Java is no Java found. A program that opens windows turns
// down a headless Java only while there is a display.
TEST_F(Outcomes, EachJavaTurnedDownIsNotedWithTheUsersReason) {
  WriteFakeJava(dir_.file("old"), Answering("17.0.9"));
  dir_.write("old/release", "JAVA_VERSION=\"17.0.9\"\n");
  WriteFakeJava(dir_.file("new"), Answering("26.0.1"));
  WriteFakeJava(dir_.file("mute"), "echo 'Error: could not create the Java Virtual Machine.' >&2\nexit 1\n");
  dir_.write("mute/release", "JAVA_VERSION=\"22\"\n");
  WriteFakeJava(dir_.file("foreign"), Answering("21.0.5"));
  dir_.write("foreign/release", "JAVA_VERSION=\"21.0.5\"\nOS_ARCH=\"s390x\"\n");
  WriteFakeJava(dir_.file("vendor"),
                "echo 1739021872\nfor a in \"$@\"; do\n  case $a in java.version) echo 22.0.2;; java.vendor) echo "
                "'Other Corp.';; esac\ndone\n");
  WriteFakeJava(dir_.file("headless"), Answering("23.0.1"));
  // Every other one can open windows.
  for (const char* home : {"old", "new", "mute", "foreign", "vendor"}) {
    ASSERT_EQ(0, mkdir(dir_.file(std::string(home) + "/lib").c_str(), 0755));
    dir_.write(std::string(home) + "/lib/libawt_xawt.so", "");
  }
  TagFile* tags = add(NewDescription("Java 21-25", "bin/java", {"java.vendor=Fake..."}));
  tags->setValue("JAVA_VERSION", "21-25");
  tags->setValue("NEEDS_WINDOWS", "1");
  for (const char* home : {"missing", "old", "new", "mute", "foreign", "vendor", "headless"}) {
    tags->addValue("PATH_HINT", dir_.file(home).c_str());
  }
  JVMFile* jvm = files_.get(0);
  {
    ScopedEnv display("DISPLAY", ":9");
    JVMMatchPtrDeque matches;
    files_.find(matches);
    EXPECT_EQ(0, matches.count());
    const std::map<std::string, std::string> expected = {
        {dir_.file("old"), "too old 17"},    {dir_.file("new"), "too new 26"},
        {dir_.file("mute"), "not started "}, {dir_.file("foreign"), "other machine "},
        {dir_.file("vendor"), "unfit "},     {dir_.file("headless"), "headless "},
    };
    EXPECT_EQ(expected, Rejections(*jvm));
  }
  ScopedEnv noDisplay("DISPLAY", nullptr);
  ScopedEnv noWayland("WAYLAND_DISPLAY", nullptr);
  JVMMatchPtrDeque matches;
  files_.find(matches);
  ASSERT_EQ(1, matches.count());
  EXPECT_EQ(dir_.file("headless"), matches.first()->getHome().c_str());
  EXPECT_EQ(0u, Rejections(*jvm).count(dir_.file("headless")));
  EXPECT_EQ(5u, Rejections(*jvm).size()) << "a new search starts a new list";
}

// Without NEEDS_WINDOWS a headless Java is taken with a display too, after
// any that can open windows.
TEST_F(Outcomes, AHeadlessJavaServesAProgramThatNeedsNoWindows) {
  ScopedEnv display("DISPLAY", ":9");
  WriteFakeJava(dir_.file("headless"), Answering("21.0.5"));
  TagFile* tags = add(NewDescription("Java 21+", "bin/java", {}));
  tags->setValue("JAVA_VERSION", "21+");
  tags->addValue("PATH_HINT", dir_.file("headless").c_str());
  JVMMatchPtrDeque matches;
  files_.find(matches);
  ASSERT_EQ(1, matches.count());
  EXPECT_EQ(0, files_.get(0)->rejectedHomes().count());
}

// The console output of a search, with the display on.
class ConsoleCapture {
 public:
  ConsoleCapture() : saved_(consoleState), file_(std::tmpfile()) {
    consoleState = ConsoleState();
    consoleState.out = file_;
    EnableProgress();
  }
  ~ConsoleCapture() {
    consoleState = saved_;
    std::fclose(file_);
  }
  std::string text() const {
    std::fflush(file_);
    std::rewind(file_);
    std::string out;
    for (int c; (c = std::fgetc(file_)) != EOF;) out += static_cast<char>(c);
    return out;
  }

 private:
  ConsoleState saved_;
  FILE* file_;
};

int Occurrences(const std::string& text, const std::string& needle) {
  int n = 0;
  for (auto at = text.find(needle); at != std::string::npos; at = text.find(needle, at + 1)) ++n;
  return n;
}

TEST_F(Outcomes, ConsoleNamesEachDescriptionsVerificationOnce) {
  WriteFakeJava(dir_.file("a"), Answering("11.0.2"));
  WriteFakeJava(dir_.file("b"), Answering("11.0.3"));
  WriteFakeJava(dir_.file("c"), Answering("17.0.9"));
  TagFile* first = add(NewDescription("First", "bin/java", {"java.version=17..."}));
  TagFile* none = add(NewDescription("Absent", "bin/java", {"java.version=17..."}));
  for (int i = 0; i < 5; ++i) {
    first->addValue("PATH_HINT", dir_.file("missing" + std::to_string(i)).c_str());
    none->addValue("PATH_HINT", dir_.file("missing" + std::to_string(i)).c_str());
  }
  for (const char* home : {"a", "b"}) first->addValue("PATH_HINT", dir_.file(home).c_str());
  none->addValue("PATH_HINT", dir_.file("c").c_str());
  std::string text;
  {
    ConsoleCapture console;
    JVMMatchPtrDeque matches;
    files_.find(matches);
    ASSERT_EQ(1, matches.count());
    text = console.text();
  }
  EXPECT_EQ(1, Occurrences(text, "Verifying First\n")) << text;
  EXPECT_EQ(1, Occurrences(text, "Verifying Absent\n")) << text;
  EXPECT_EQ(1, Occurrences(text, "Searching for First\n")) << text;
}

TEST_F(Outcomes, NoVerifyingStepWithoutACandidateThatExists) {
  TagFile* tags = add(NewDescription("Nowhere", "bin/java", {"java.version=17..."}));
  tags->addValue("PATH_HINT", dir_.file("missing").c_str());
  std::string text;
  {
    ConsoleCapture console;
    JVMMatchPtrDeque matches;
    files_.find(matches);
    text = console.text();
  }
  EXPECT_EQ(0, Occurrences(text, "Verifying Nowhere")) << text;
}

// A java that prints without end is stopped once its output passes the
// bound, long before the time limit, and leaves nothing running.
TEST_F(Outcomes, CandidatePrintingWithoutEndIsStopped) {
  // Without the bound the time limit ends the run: a few hundred MB later.
  ScopedEnv timeLimit("LX_VERIFY_TIMEOUT", "20");
  std::string pidFile = dir_.file("printer.pid");
  WriteFakeJava(
      dir_.file("chatty"),
      "echo $$ > '" + pidFile + "'\necho 1739021872\nwhile :; do echo 'Fake Corp. Fake Corp. Fake Corp.'; done\n");
  TagFile* tags = add(NewDescription("Chatty", "bin/java", {"java.vendor=Fake..."}));
  tags->addValue("PATH_HINT", dir_.file("chatty").c_str());
  LogCapture log;
  JVMMatchPtrDeque matches;
  files_.find(matches);
  EXPECT_EQ(0, matches.count());
  EXPECT_EQ(std::string::npos, log.text().find("did not end within")) << "stopped by the time limit, not by the bound";
  EXPECT_TRUE(log.has("WARNING: Verification of " + dir_.file("chatty/bin/java") +
                      " printed more than 4194304 bytes and was stopped."))
      << log.text().substr(0, 2000);
  pid_t printer = std::stoi(ReadFile(pidFile));
  bool ended = false;
  for (int i = 0; i < 100 && !ended; ++i) {
    ended = kill(printer, 0) != 0;
    if (!ended) usleep(100000);
  }
  EXPECT_TRUE(ended) << "the printing java " << printer << " was left running";
  // What is logged of the output stays within the bound too.
  EXPECT_LT(log.text().size(), 3u * 4194304u);
}

}  // namespace
