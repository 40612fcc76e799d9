#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <string>
#include <utility>
#include <vector>

#include "archive/LauncherFile.h"
#include "base/LauncherException.h"
#include "base/Log.h"
#include "fsutil/TempFiles.h"
#include "launcher/InputFileActions.h"
#include "launcher/RunState.h"
#include "messages/ConsoleFixture.h"
#include "support/TempDir.h"
#include "support/Thrown.h"
#include "tagfile/TagFile.h"

namespace {

using Tags = std::vector<std::pair<const char*, std::string>>;

// An input file's action performed with no JVM description chosen: answers
// on standard output, messages on the console, the log in a file. (Not
// SEARCH_ALL: without a description it would walk the whole machine.)
class InputFileActions : public ConsoleTest {
 protected:
  InputFileActions() {
    launcherFile() = LauncherFile();
    setLogFile(dir.write("launch.log", "").c_str());
    mkdir(dir.file("dest").c_str(), 0700);
    mkdir(dir.file("empty-home").c_str(), 0700);
    // Installs a JVM that brings its description, as an installer does.
    installer = dir.write(
        "install.sh", "#!/bin/sh\ntouch \"" + dir.file("installer-ran") + "\"\nprintf 'JVM_EXE: bin/java\\n' > jvm\n");
    chmod(installer.c_str(), 0700);
    description = dir.write("java.jvm", "JVM_EXE: bin/java\n");
  }

  ~InputFileActions() override {
    RemoveTempFiles();
    setLogFile("");
    launcherFile() = LauncherFile();
  }

  // What the action answered on standard output, and its outcome as
  // "run" (the instructions run) and "failed".
  std::string perform(const Tags& tags, std::string* answers) {
    TagFile input;
    for (const auto& tag : tags) input.setValue(tag.first, tag.second.c_str());
    testing::internal::CaptureStdout();
    ActionOutcome outcome{};
    try {
      outcome = performInputFileAction(input);
    } catch (...) {
      *answers = testing::internal::GetCapturedStdout();
      throw;
    }
    *answers = testing::internal::GetCapturedStdout();
    return std::string(outcome.runInstructions ? "run" : "no run") + (outcome.failed ? ", failed" : "");
  }

  bool installerRan() const { return access(dir.file("installer-ran").c_str(), F_OK) == 0; }

  TempDir dir;
  std::string installer;
  std::string description;
};

// Verifying and installing need both of their values; an action without
// them answers nothing, and only a verification fails the run for it.
TEST_F(InputFileActions, EachActionGetsTheValuesItNeedsOrSaysSo) {
  const std::string verifyMissing =
      "ERROR: TO execute the VERIFY_JVM action, you must also provide values in the input file for VERIFY_JVM_FILE "
      "and VERIFY_JVM_HOME.\n";
  const std::string dest = dir.file("dest");
  const struct {
    Tags tags;
    const char* outcome;
    std::string answers;
    bool logsVerifyMissing;
  } cases[] = {
      {{{"ACTION", "RUN_INSTRUCTIONS"}}, "run", "", false},
      {{{"ACTION", "SEARCH"}}, "no run", "0\n", false},
      {{{"ACTION", "VERIFY_JVM"}, {"VERIFY_JVM_FILE", description}, {"VERIFY_JVM_HOME", dir.file("empty-home")}},
       "no run",
       "0\n",
       false},
      {{{"ACTION", "VERIFY_JVM"}, {"VERIFY_JVM_FILE", description}}, "no run, failed", "", true},
      {{{"ACTION", "VERIFY_JVM"}, {"VERIFY_JVM_FILE", ""}, {"VERIFY_JVM_HOME", dir.file("empty-home")}},
       "no run, failed",
       "",
       true},
      {{{"ACTION", "INSTALL_JVM"}, {"INSTALL_JVM_EXE", installer}}, "no run", "", false},
      {{{"ACTION", "INSTALL_JVM"}, {"INSTALL_JVM_DEST", dest}}, "no run", "", false},
  };
  for (const auto& c : cases) {
    std::string label = c.tags[0].second + " with " + std::to_string(c.tags.size() - 1) + " value(s)";
    ASSERT_EQ(0, truncate(dir.file("launch.log").c_str(), 0));
    std::string answers;
    EXPECT_EQ(c.outcome, perform(c.tags, &answers)) << label;
    EXPECT_EQ(c.answers, answers) << label;
    EXPECT_EQ(c.logsVerifyMissing, ReadFile(dir.file("launch.log")).find(verifyMissing) != std::string::npos) << label;
    EXPECT_EQ("", takeOutput()) << label;
  }
  EXPECT_FALSE(installerRan());
}

TEST_F(InputFileActions, InstallAnswersWithTheDescriptionItCompleted) {
  const std::string dest = dir.file("dest");
  std::string answers;
  EXPECT_EQ("no run",
            perform({{"ACTION", "INSTALL_JVM"}, {"INSTALL_JVM_EXE", installer}, {"INSTALL_JVM_DEST", dest}}, &answers));
  EXPECT_TRUE(installerRan());
  EXPECT_EQ(dest + "/jvm\n", answers);
  TagFile written(SString((dest + "/jvm").c_str()));
  EXPECT_EQ(dest, written.getValue("JVM_HOME", 0).c_str());
  EXPECT_STREQ("bin/java", written.getValue("JVM_EXE", 0).c_str());
}

// Exactly the five names: an action the launcher does not know is told on
// the console and ends the run, with no answer.
TEST_F(InputFileActions, AnUnknownActionIsPrintedAndThrown) {
  for (const char* action : {"", "search", "SEARCH ", "INSTALL"}) {
    std::string answers;
    std::string message = std::string("Invalid action in input file: ") + action;
    EXPECT_EQ(message, ThrownBy([&] { perform({{"ACTION", action}}, &answers); })) << action;
    EXPECT_EQ(message + "\n", takeOutput()) << action;
    EXPECT_EQ("", answers) << action;
  }
}

}  // namespace
