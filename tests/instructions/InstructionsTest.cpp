#include <gtest/gtest.h>
#include <signal.h>
#include <unistd.h>

#include <string>
#include <vector>

#include "base/Termination.h"
#include "instructions/Instructions.h"
#include "instructions/ScriptFixture.h"
#include "support/Processes.h"
#include "support/SourceDir.h"

namespace {

typedef std::vector<std::string> Calls;

class InstructionsTest : public ScriptTest {};

// The script every launcher ships with.
const std::initializer_list<const char*> kShippedScript = {
    "INITIALIZE_UI", "FIND_JVM 1 1", "JMP0 @N1@ DO_INSTALL", "LAUNCH @S2@ 0", "GOTO DONE", ":DO_INSTALL", ":DONE",
};

}  // namespace

TEST_F(InstructionsTest, ScriptWithoutInstructionsTagRunsNothing) {
  EXPECT_EQ(0, instructions.execute());
  EXPECT_EQ(Calls{}, controller.calls);

  TagFile other;
  other.setValue("LAUNCH", "LAUNCH x 0");
  Instructions script(&other, &controller);
  EXPECT_EQ(0, script.execute());
  EXPECT_EQ(Calls{}, controller.calls);
}

TEST_F(InstructionsTest, ShippedScriptWithoutJvmJumpsPastTheLaunch) {
  EXPECT_EQ(0, run(kShippedScript));
  EXPECT_EQ((Calls{"initializeUI()", "findJVM(1, 1)"}), controller.calls);
}

TEST_F(InstructionsTest, ShippedScriptLaunchesTheJvmFoundAndReturnsItsResult) {
  controller.jvmHome = "/opt/jre";
  controller.jvmFile = "/tmp/lxj42/jvm";
  controller.launchResults = {3};
  EXPECT_EQ(3, run(kShippedScript));
  EXPECT_EQ((Calls{"initializeUI()", "findJVM(1, 1)", "launchJVMFile(/tmp/lxj42/jvm, 0)"}), controller.calls);
}

// The demo launcher's script, read by the tag file reader as the launcher
// reads it.
TEST_F(InstructionsTest, DemoScriptRunsFromItsTagFile) {
  std::string source = SourceDir() + "/demo/instructions.txt";
  TagFile demo(source.c_str());
  Instructions script(&demo, &controller);
  EXPECT_EQ(0, script.execute());
  EXPECT_EQ((Calls{"initializeUI()", "findJVM(1, 1)"}), controller.calls);

  controller.calls.clear();
  controller.jvmHome = "/opt/jre";
  controller.jvmFile = "/tmp/lxj7/jvm";
  controller.launchResults = {12};
  EXPECT_EQ(12, script.execute());
  EXPECT_EQ((Calls{"initializeUI()", "findJVM(1, 1)", "launchJVMFile(/tmp/lxj7/jvm, 0)"}), controller.calls);
}

TEST_F(InstructionsTest, LabelOnTheFirstLineIsFound) {
  run({":START", "ILAUNCH 1 0", "JMP0 @N1@ AGAIN", "GOTO END", ":AGAIN", "SET N1 = 1", "GOTO START", ":END"});
  EXPECT_EQ((Calls{"launchInternal(1, 0)", "launchInternal(1, 0)"}), controller.calls);
}

TEST_F(InstructionsTest, JumpsGoOnAfterTheLabelLine) {
  run({"GOTO B", ":A", "ILAUNCH 1 0", "SET N2 = 1", ":B", "ILAUNCH 2 0", "JMP0 @N2@ A"});
  // From B to the end, back to A and on through B a second time.
  EXPECT_EQ((Calls{"launchInternal(2, 0)", "launchInternal(1, 0)", "launchInternal(2, 0)"}), controller.calls);
}

TEST_F(InstructionsTest, ComputedLabelsAreExpandedBeforeTheSearch) {
  run({"SET S1 = B", "GOTO @S1@", ":A", "ILAUNCH 1 0", ":B", "ILAUNCH 2 0", "SET S1 = @S1@X", "JMP0 0 @S1@", ":BX",
       "ILAUNCH 3 0"});
  EXPECT_EQ((Calls{"launchInternal(2, 0)", "launchInternal(3, 0)"}), controller.calls);
}

TEST_F(InstructionsTest, LabelFailuresBelongToTheJumpLine) {
  const struct {
    std::initializer_list<const char*> lines;
    Failure want;
  } cases[] = {
      {{"ILAUNCH 1 0", "GOTO NOWHERE"}, {"Label not found (NOWHERE)", 2}},
      // Whole-line and case-sensitive comparison.
      {{":DONE now", "GOTO DONE"}, {"Label not found (DONE)", 2}},
      {{":done", "GOTO DONE"}, {"Label not found (DONE)", 2}},
      {{"SET S1 = X", "GOTO @S1@"}, {"Label not found (@S1@)", 2}},
      {{"SET S1 =", "GOTO @S1@"}, {"Label @S1@ resolved to a blank string. Labels cannot be blank.", 2}},
      {{"GOTO @S1"}, {"Invalid label specified. Invalid variable specification.", 1}},
      {{"GOTO @Q1@"},
       {"Invalid label specified. Invalid variable reference (Q1). Must use N or S as the variable type, e.g. N2 "
        "or S1.",
        0}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(*c.lines.begin());
    EXPECT_EQ(c.want, failureOf(c.lines));
  }
}

TEST_F(InstructionsTest, LinesThatAreNoCommandFailAtTheirLine) {
  const struct {
    std::initializer_list<const char*> lines;
    Failure want;
  } cases[] = {
      // The tag file reader trims only the four white-space characters.
      {{"INITIALIZE_UI", "\v"}, {"No command specified.", 2}},
      {{""}, {"No command specified.", 1}},
      {{"find_jvm 1 1"}, {"Invalid command (find_jvm). ", 1}},
      {{"// fine", "//note"}, {"Invalid command (//note). ", 2}},
      {{"FIND_JVM2 1 1"}, {"Invalid command (FIND_JVM2). ", 1}},
      {{"INITIALIZE_UI", "ILAUNCH 1 0", "BOGUS", "ILAUNCH 2 0"}, {"Invalid command (BOGUS). ", 3}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(*c.lines.begin());
    EXPECT_EQ(c.want, failureOf(c.lines));
  }
}

TEST_F(InstructionsTest, FailureEndsTheScriptAndKeepsEarlierEffects) {
  EXPECT_EQ((Failure{"Invalid command (BOGUS). ", 3}),
            failureOf({"SET S4 = kept", "ILAUNCH 1 0", "BOGUS", "ILAUNCH 2 0"}));
  EXPECT_EQ((Calls{"launchInternal(1, 0)"}), controller.calls);
  EXPECT_EQ(SString("kept"), getStringVariable(4));
}

TEST_F(InstructionsTest, ControllerFailuresPassUnchanged) {
  controller.failure = "No JVM installer was included in the launcher.";
  EXPECT_EQ((Failure{"No JVM installer was included in the launcher.", 0}),
            failureOf({"INSTALL_JVM 0", "ILAUNCH 1 0"}));
  EXPECT_EQ((Calls{"installBundledJVM(0)"}), controller.calls);
}

TEST_F(InstructionsTest, CommentsAndLabelLinesDoNothing) {
  EXPECT_EQ(0, run({"//", "// FIND_JVM 1 1 \"unclosed @S1", ":LABEL @@@", "INITIALIZE_UI"}));
  EXPECT_EQ((Calls{"initializeUI()"}), controller.calls);
}

TEST_F(InstructionsTest, TheLastLaunchDecidesTheResult) {
  controller.launchResults = {5, 9, 4};
  EXPECT_EQ(9, run({"LAUNCH a.jvm 0", "ILAUNCH 1 0", "INITIALIZE_UI", "SET N1 = 3"}));
  // Each run starts from 0 again.
  EXPECT_EQ(0, run({"INITIALIZE_UI"}));
  EXPECT_EQ(4, run({"ILAUNCH 1 0"}));
}

TEST_F(InstructionsTest, ASignalEndsAScriptThatLoopsForEver) {
  int status = InForkedProcess([this] {
    InstallTerminationHandlers();
    alarm(60);  // a loop that a signal cannot end fails the test instead of hanging it
    SignalLater(getpid(), SIGTERM, 100);
    try {
      run({":AGAIN", "SET N1 = 1", "GOTO AGAIN"});
    } catch (const TerminationRequest& request) {
      return request.exitStatus();
    }
    return 1;
  });
  EXPECT_EQ(128 + SIGTERM, status);
}

TEST_F(InstructionsTest, LineLimitEndsAnEndlessLoopAfterThatManyLines) {
  controller.launchResults = {7};
  instructions.setLineLimit(8);
  // Lines run: ILAUNCH, :A, then INITIALIZE_UI and GOTO A three times (a
  // jump goes on after the label line).
  EXPECT_EQ(7, run({"ILAUNCH 1 0", ":A", "INITIALIZE_UI", "GOTO A"}));
  EXPECT_EQ((Calls{"launchInternal(1, 0)", "initializeUI()", "initializeUI()", "initializeUI()"}), controller.calls);

  // Each run counts from its own first line.
  controller.calls.clear();
  EXPECT_EQ(0, run({":A", "INITIALIZE_UI", "GOTO A"}));
  EXPECT_EQ((Calls{"initializeUI()", "initializeUI()", "initializeUI()", "initializeUI()"}), controller.calls);
}

TEST_F(InstructionsTest, LineLimitLeavesShorterScriptsAlone) {
  // The shipped script with a JVM runs five lines.
  instructions.setLineLimit(5);
  controller.jvmHome = "/opt/jre";
  controller.jvmFile = "/tmp/lxj42/jvm";
  controller.launchResults = {3};
  EXPECT_EQ(3, run(kShippedScript));
  EXPECT_EQ((Calls{"initializeUI()", "findJVM(1, 1)", "launchJVMFile(/tmp/lxj42/jvm, 0)"}), controller.calls);
}
