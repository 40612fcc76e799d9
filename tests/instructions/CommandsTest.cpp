#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "instructions/Commands.h"
#include "instructions/ScriptFixture.h"

namespace {

typedef std::vector<std::string> Calls;

class CommandsTest : public ScriptTest {};

}  // namespace

TEST_F(CommandsTest, PassEvaluatedArgumentsToTheController) {
  const struct {
    std::initializer_list<const char*> lines;
    Calls want;
  } cases[] = {
      {{"FIND_JVM 1 0"}, {"findJVM(1, 0)"}},
      {{"FIND_JVM 0 1 extra"}, {"findJVM(0, 1)"}},
      {{"ILAUNCH 3 5"}, {"launchInternal(3, 5)"}},
      {{"SET N2 = 4", "ILAUNCH @N2@ -1"}, {"launchInternal(4, -1)"}},
      {{"INITIALIZE_UI ignored words"}, {"initializeUI()"}},
      {{"INSTALL_JVM 0", "INSTALL_JVM 1", "INSTALL_JVM 2"},
       {"installBundledJVM(0)", "installBundledJVM(1)", "installBundledJVM(2)"}},
      {{"LAUNCH \"/opt/my jvm/x.jvm\" 0"}, {"launchJVMFile(/opt/my jvm/x.jvm, 0)"}},
      {{"LAUNCH \"say \"\"x\"\".jvm\"\t7"}, {"launchJVMFile(say \"x\".jvm, 7)"}},
      {{"SET S2 = /tmp/a.jvm", "LAUNCH @S2@ 5"}, {"launchJVMFile(/tmp/a.jvm, 5)"}},
      {{"SET S2 = my", "LAUNCH \"/opt/@S2@ jvm\" @N1@"}, {"launchJVMFile(/opt/my jvm, 0)"}},
      {{"VERIFY 1 0 2"}, {"verifyJVMFile(1, 0, 2)"}},
      {{"SET N3 = 4", "VERIFY 0 0 @N3@"}, {"verifyJVMFile(0, 0, 4)"}},
      {{"EXECUTE_LAUNCHER 2", "INITIALIZE_UI"}, {"executeEmbeddedLauncher(2)", "initializeUI()"}},
      // A jump not taken never looks for its label.
      {{"JMP0 1 NOWHERE", "INITIALIZE_UI"}, {"initializeUI()"}},
      {{"SET N1 = 5", "JMP0 @N1@ X", "INITIALIZE_UI"}, {"initializeUI()"}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(*c.lines.begin());
    resetVariables();
    controller.calls.clear();
    run(c.lines);
    EXPECT_EQ(c.want, controller.calls);
  }
}

TEST_F(CommandsTest, ArgumentErrorsFailTheCommandLine) {
  const char* const kLaunchSeconds =
      "The second argument to LAUNCH should be the number of seconds to display the UI during the launch.";
  const struct {
    const char* line;
    const char* message;
  } cases[] = {
      {"FIND_JVM",
       "The first argument to FIND_JVM should be a 1 if the UI should be displayed or a 0 if the UI should be "
       "suppressed."},
      {"FIND_JVM 1",
       "The second argument to FIND_JVM should be a 1 if a find failure message should be displayed in a UI or 0 if "
       "no message should be displayed."},
      {"FIND_JVM yes 1", "Invalid numeric expression (yes)"},
      {"FIND_JVM 2 1", " Invalid boolean value (2)"},
      {"FIND_JVM 1 @N1", " Invalid variable specification."},
      {"GOTO", "The GOTO command requires a label as its only argument."},
      {"ILAUNCH", "The first argument to ILAUNCH should be the file index number of the jvm file."},
      {"ILAUNCH 1",
       "The second argument to ILAUNCH should be the number of seconds to display the UI during the launch."},
      {"ILAUNCH x 0", "Invalid numeric expression (x)"},
      {"ILAUNCH 1 x", " Invalid numeric expression (x)"},
      {"INSTALL_JVM", "The first argument to INSTALL_JVM should be a 0, 1 or 2."},
      {"INSTALL_JVM 3", "The first argument to INSTALL_JVM should be a 0, 1 or 2."},
      {"INSTALL_JVM -1", "The first argument to INSTALL_JVM should be a 0, 1 or 2."},
      {"INSTALL_JVM x", "Invalid numeric expression (x)"},
      {"JMP0", "The first argument to JMP0 should be a number.  Empty expression."},
      {"JMP0 x LABEL", "The first argument to JMP0 should be a number. Invalid numeric expression (x)"},
      {"JMP0 0", "JMP0 requires a jump label as its second argument."},
      {"JMP0 1", "JMP0 requires a jump label as its second argument."},
      {"JMP0 0 NOWHERE", "Label not found (NOWHERE)"},
      {"LAUNCH", kLaunchSeconds},
      {"LAUNCH x.jvm", kLaunchSeconds},
      {"LAUNCH \"x y.jvm\"", kLaunchSeconds},
      {"LAUNCH x.jvm y", " Invalid numeric expression (y)"},
      {"LAUNCH \"\" 0", "Invalid jvm file name specified in LAUNCH. Empty expression."},
      {"SET", "SET statement is missing =."},
      {"SET N1 5", "SET statement is missing =."},
      {"SET S1 = \"\"", "Invalid expression specified for SET command Empty expression."},
      {"SET S1 = @N1", "Invalid expression specified for SET command Invalid variable specification."},
      {"VERIFY",
       "The first argument to VERIFY should be a 1 if the UI should be displayed or a 0 if the UI should be "
       "suppressed."},
      {"VERIFY 1",
       "The second argument to VERIFY should be a 1 if a find failure message should be displayed in a UI or 0 if "
       "no message should be displayed."},
      {"VERIFY 1 1", "The third argument to VERIFY should be the file index number of the jvm file."},
      {"VERIFY 0 3 1", " Invalid boolean value (3)"},
      {"VERIFY 1 1 x", "Invalid numeric expression (x)"},
      {"EXECUTE_LAUNCHER",
       "The EXECUTE_LAUNCHER command requires the index of the embedded launcher as its only argument."},
      {"EXECUTE_LAUNCHER x", "Invalid numeric expression (x)"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.line);
    EXPECT_EQ((Failure{c.message, 2}), failureOf({"// before", c.line, "INITIALIZE_UI"}));
    EXPECT_EQ(Calls{}, controller.calls);
  }
}

// These failures come from the variable reference and argument readers and
// carry no line number.
TEST_F(CommandsTest, ReferenceAndQuotingErrorsHaveNoLine) {
  const struct {
    const char* line;
    const char* message;
  } cases[] = {
      {"SET Q1 = 5",
       "Invalid variable specified on left hand side of SET statement. Invalid variable reference (Q1). Must use N or "
       "S as the variable type, e.g. N2 or S1."},
      {"SET = 5",
       "Invalid variable specified on left hand side of SET statement. Variable references must be at least 2 "
       "characters (e.g. N1 and S10)."},
      {"SET S11 = 5", "Invalid variable specified on left hand side of SET statement. Variable number is invalid (11)"},
      {"SET N1 = abc", "Invalid value specified for SET command Invalid numeric expression in abc"},
      {"SET N1 =", "Invalid value specified for SET command Invalid numeric expression in "},
      {"SET S1 = \"abc", "Expected double quote to end argument near 1"},
      {"FIND_JVM @N6@ 1", " Variable number is invalid (6)"},
      {"LAUNCH \"/opt/x.jvm", "Expected ending quote in \"/opt/x.jvm:  Invalid jvm file name specified in LAUNCH."},
      {"LAUNCH \"/opt/x.jvm 0", "Expected ending quote in \"/opt/x.jvm 0:  Invalid jvm file name specified in LAUNCH."},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.line);
    EXPECT_EQ((Failure{c.message, 0}), failureOf({c.line, "INITIALIZE_UI"}));
    EXPECT_EQ(Calls{}, controller.calls);
  }
}

TEST_F(CommandsTest, SetStoresOneArgument) {
  const struct {
    std::initializer_list<const char*> lines;
    char type;
    long number;
    const char* want;
  } cases[] = {
      {{"SET S1 = \"x y\""}, 'S', 1, "x y"},
      {{"SET S1 = x y"}, 'S', 1, "x"},
      {{"SET S1 = \"say \"\"hi\"\"\""}, 'S', 1, "say \"hi\""},
      {{"SET S1 = \"  padded  \""}, 'S', 1, "  padded  "},
      {{"SET S1 = a=b"}, 'S', 1, "a=b"},
      {{"SET S1 = a@@b"}, 'S', 1, "a@b"},
      {{"SET S1 = x", "SET S1 ="}, 'S', 1, ""},
      {{"SET   s10  =\tv  "}, 'S', 10, "v"},
      {{"SET N2=7"}, 'N', 2, "7"},
      {{"SET n2 = -4"}, 'N', 2, "-4"},
      {{"SET N1 = 12abc"}, 'N', 1, "12"},
      {{"SET N2 = 7", "SET S3 = @N2@"}, 'S', 3, "7"},
      {{"SET S1 = a", "SET S1 = @S1@b"}, 'S', 1, "ab"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(*c.lines.begin());
    resetVariables();
    run(c.lines);
    SString got = c.type == 'S' ? getStringVariable(c.number) : fromLong(getNumericVariable(c.number));
    EXPECT_EQ(SString(c.want), got);
  }
}

// "@@" leaves a lone '@' in the value, which a later reference to it reads
// as the start of another reference.
TEST_F(CommandsTest, ValueHoldingALoneAtCannotBeReferenced) {
  EXPECT_EQ((Failure{"Invalid expression specified for SET command Invalid variable specification.", 2}),
            failureOf({"SET S1 = a@@b", "SET S2 = @S1@"}));
  EXPECT_EQ(SString("a@b"), getStringVariable(1));
}

TEST_F(CommandsTest, LaterLinesReadWhatTheOperationsLeft) {
  controller.jvmHome = "/opt/jre";
  controller.jvmFile = "/tmp/lxj1/jvm";
  controller.installedJvmFile = "/tmp/lxj2/jvm";
  controller.verifiedHome = "/usr/lib/jvm/java";
  run({"FIND_JVM 0 0", "SET S3 = @S1@", "SET S4 = @S2@", "SET N2 = @N1@",  //
       "INSTALL_JVM 1", "SET S5 = @S1@",                                   //
       "VERIFY 0 0 1", "SET S6 = @S1@", "JMP0 @N1@ FAILED", "LAUNCH @S5@ 0", ":FAILED"});
  EXPECT_EQ(SString("/opt/jre"), getStringVariable(3));
  EXPECT_EQ(SString("/tmp/lxj1/jvm"), getStringVariable(4));
  EXPECT_EQ(1, getNumericVariable(2));
  EXPECT_EQ(SString("/tmp/lxj2/jvm"), getStringVariable(5));
  EXPECT_EQ(SString("/usr/lib/jvm/java"), getStringVariable(6));
  EXPECT_EQ("launchJVMFile(/tmp/lxj2/jvm, 0)", controller.calls.back());
}

// What a script reads after an operation that got no JVM: the interpreter
// clears what the operation would have set, except that a failed VERIFY
// leaves S1 as it was.
TEST_F(CommandsTest, OperationsWithoutAJvmLeaveTheirVariablesSo) {
  const struct {
    const char* command;
    const char* s1;
    const char* s2;
  } cases[] = {
      {"FIND_JVM 0 0", "", ""},
      {"INSTALL_JVM 1", "", "oldS2"},
      {"VERIFY 0 0 1", "oldS1", "oldS2"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.command);
    run({"SET N1 = 1", "SET S1 = oldS1", "SET S2 = oldS2", c.command});
    EXPECT_EQ(0, getNumericVariable(1));
    EXPECT_EQ(SString(c.s1), getStringVariable(1));
    EXPECT_EQ(SString(c.s2), getStringVariable(2));
  }
}

TEST_F(CommandsTest, FailedSearchJumpsToTheInstall) {
  run({"SET N1 = 1", "FIND_JVM 1 1", "JMP0 @N1@ DO_INSTALL", "ILAUNCH 1 0", ":DO_INSTALL", "INSTALL_JVM 2"});
  EXPECT_EQ((Calls{"findJVM(1, 1)", "installBundledJVM(2)"}), controller.calls);
}
