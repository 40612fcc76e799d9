// Programs run with an argument vector of their own: what they get, what
// they give back, and how one that does not end is ended.
#include <gtest/gtest.h>
#include <signal.h>

#include <string>

#include "base/Termination.h"
#include "launch/RunProgram.h"
#include "support/Processes.h"
#include "support/TempDir.h"

namespace {

// /bin/sh runs a script of the test's, which sees the arguments after it
// as "$@"; sh is the program here, not a shell that reads them.
ProgramRun shellScript(const std::string& script, std::initializer_list<const char*> arguments) {
  ProgramRun run;
  run.program = "/bin/sh";
  run.arguments.add("-c");
  run.arguments.add(script.c_str());
  run.arguments.add("sh");
  for (const char* argument : arguments) run.arguments.add(argument);
  return run;
}

}  // namespace

TEST(RunProgram, HandsEveryArgumentOverAsItIs) {
  TempDir dir;
  const char* texts[] = {"$(touch pwned)",
                         "`touch pwned`",
                         "\"quoted\" 'single'",
                         "a\\b\\nc",
                         "line\nbreak",
                         ("Gr\xC3\xB6\xC3\x9F"
                          "e \xD0\x96"),
                         "",
                         "-x",
                         "*",
                         "; rm -rf ~"};
  ProgramRun run = shellScript("for a; do printf '%s\\0' \"$a\"; done > '" + dir.file("args") + "'", {});
  std::string want;
  for (const char* text : texts) {
    run.arguments.add(text);
    want += std::string(text) + '\0';
  }
  EXPECT_EQ(0, runProgram(run));
  EXPECT_EQ(want, ReadFile(dir.file("args")));
  EXPECT_FALSE(run.expired);
}

TEST(RunProgram, ReplacesTheVariablesItIsGivenAndKeepsTheRest) {
  TempDir dir;
  setenv("LX_TEST_KEPT", "kept", 1);
  setenv("LX_TEST_REPLACED", "old", 1);
  ProgramRun run = shellScript("echo \"$LX_TEST_KEPT $LX_TEST_REPLACED $LX_TEST_NEW\" > '" + dir.file("env") + "'", {});
  run.environment.add("LX_TEST_REPLACED=new");
  run.environment.add("LX_TEST_NEW=added");
  EXPECT_EQ(0, runProgram(run));
  EXPECT_EQ("kept new added\n", ReadFile(dir.file("env")));
  unsetenv("LX_TEST_KEPT");
  unsetenv("LX_TEST_REPLACED");
}

TEST(RunProgram, GivesTheProgramsStatus) {
  const struct {
    const char* script;
    int want;
  } cases[] = {
      {"exit 0", 0},
      {"exit 3", 3},
      {"kill -TERM $$", 128 + SIGTERM},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.script);
    ProgramRun run = shellScript(c.script, {});
    EXPECT_EQ(c.want, runProgram(run));
  }
  ProgramRun missing;
  missing.program = "/nonexistent/zenity";
  EXPECT_EQ(127, runProgram(missing));
}

// The program's process group is ended, not only the program: a dialog
// tool may leave a helper behind. One that ignores SIGTERM gets SIGKILL.
TEST(RunProgram, EndsAProgramWhoseTimeRunsOutWithEverythingItStarted) {
  for (const char* trap : {"", "trap '' TERM; "}) {
    SCOPED_TRACE(trap);
    TempDir dir;
    ProgramRun run = shellScript(
        std::string(trap) + "sleep 600 & echo $! > '" + dir.file("helper") + "'; while :; do sleep 1; done", {});
    run.timeoutSeconds = 1;
    int status = runProgram(run);
    EXPECT_TRUE(run.expired);
    EXPECT_EQ(128 + (*trap ? SIGKILL : SIGTERM), status);
    EXPECT_TRUE(EndsSoon(WaitForLine(dir.file("helper"))));
  }
}

// A signal that asks the launcher to end reaches the program's group. A
// program that ignores it is killed with its group once the grace is over,
// rather than kept waiting for until it ends by itself; either way the
// launcher then ends as the signal asked.
TEST(RunProgram, PassesASignalToEndOnAndKillsAProgramThatIgnoresIt) {
  const struct {
    const char* trap;
    int want;
  } cases[] = {
      {"", 128 + SIGHUP},
      {"trap '' HUP; ", 128 + SIGKILL},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.trap);
    TempDir dir;
    std::string script = std::string(c.trap) + "sleep 600 >/dev/null 2>&1 & echo $! > '" + dir.file("helper") +
                         "'; kill -HUP $PPID; " + "sleep 120; echo survived > '" + dir.file("after") + "'";
    int status = InForkedProcess([&] {
      InstallTerminationHandlers();
      ProgramRun run = shellScript(script, {});
      int programStatus = runProgram(run);
      return programStatus == c.want && TerminationSignal() == SIGHUP ? 0 : 1;
    });
    EXPECT_EQ(0, status);
    EXPECT_EQ("", ReadFile(dir.file("after")));
    EXPECT_TRUE(EndsSoon(WaitForLine(dir.file("helper"))));
  }
}
