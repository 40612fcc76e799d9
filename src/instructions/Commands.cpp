#include "instructions/Commands.h"

#include "base/Tokenizer.h"
#include "instructions/Instructions.h"
#include "instructions/Variables.h"

namespace {

typedef SString::size_type Pos;

// Arguments are evaluated without a context unless a command names one.
const SString kNoContext;

// The next word of the line; a missing word fails the line with missing.
SString takeWord(const Instructions& script, const SString& line, Pos& pos, const char* missing) {
  bool noWord = false;
  SString word = nextWord(line, pos, noWord);
  if (noWord) script.raiseError(missing);
  return word;
}

void findJvm(Instructions& script, const SString& line, Pos pos) {
  SString word = takeWord(script, line, pos,
                          "The first argument to FIND_JVM should be a 1 if the UI should be displayed or a 0 if "
                          "the UI should be suppressed.");
  bool showUI = script.evalBool(word, kNoContext);
  word = takeWord(script, line, pos,
                  "The second argument to FIND_JVM should be a 1 if a find failure message should be displayed "
                  "in a UI or 0 if no message should be displayed.");
  bool showFailMsg = script.evalBool(word, kNoContext);
  // found: N1 = 1, S1 = JVM home, S2 = JVM description file; else N1 = 0,
  // S1 and S2 empty.
  FoundJvm jvm = script.getController().findJVM(showUI, showFailMsg);
  setNumericVariable(1, jvm.found ? 1 : 0);
  setStringVariable(1, jvm.home);
  setStringVariable(2, jvm.descriptionFile);
}

void gotoLabel(Instructions& script, const SString& line, Pos pos) {
  SString label = takeWord(script, line, pos, "The GOTO command requires a label as its only argument.");
  script.setCurrentLine(script.findLabel(label));
}

void launchInternal(Instructions& script, const SString& line, Pos pos) {
  SString word =
      takeWord(script, line, pos, "The first argument to ILAUNCH should be the file index number of the jvm file.");
  long fileId = script.evalNumber(word, kNoContext);
  word = takeWord(script, line, pos,
                  "The second argument to ILAUNCH should be the number of seconds to display the UI during the "
                  "launch.");
  short seconds = script.evalShort(word, kNoContext);
  script.setLastResult(script.getController().launchInternal(fileId, seconds));
}

void initializeUI(Instructions& script, const SString&, Pos) { script.getController().initializeUI(); }

void installJvm(Instructions& script, const SString& line, Pos pos) {
  bool noWord = false;
  SString word = nextWord(line, pos, noWord);
  long mode = -1;
  if (!noWord) mode = script.evalNumber(word, kNoContext);
  if (mode < 0 || mode > 2) script.raiseError("The first argument to INSTALL_JVM should be a 0, 1 or 2.");
  // installed: N1 = 1, S1 = the installed JVM's description file; else
  // N1 = 0, S1 empty.
  InstalledJvm jvm = script.getController().installBundledJVM(mode);
  setNumericVariable(1, jvm.installed ? 1 : 0);
  setStringVariable(1, jvm.descriptionFile);
}

void jumpIfZero(Instructions& script, const SString& line, Pos pos) {
  // A missing value is read as an empty word and fails as an empty
  // expression; the blank at the end separates the context from the
  // numeric-expression text, which follows without one.
  bool noWord = false;
  SString word = nextWord(line, pos, noWord);
  long value = script.evalNumber(word, "The first argument to JMP0 should be a number. ");
  SString label = takeWord(script, line, pos, "JMP0 requires a jump label as its second argument.");
  // The label is looked up only when the jump is taken.
  if (value == 0) script.setCurrentLine(script.findLabel(label));
}

void launch(Instructions& script, const SString& line, Pos pos) {
  SString file;
  script.readQuotedArgument(line, pos, file, "Invalid jvm file name specified in LAUNCH.");
  SString word = takeWord(script, line, pos,
                          "The second argument to LAUNCH should be the number of seconds to display the UI during "
                          "the launch.");
  short seconds = script.evalShort(word, kNoContext);
  script.setLastResult(script.getController().launchJVMFile(file, seconds));
}

// SET variable = value: the value is one argument, quoted or up to the
// first blank.
void set(Instructions& script, const SString& line, Pos pos) {
  SString rest = pos < line.length() ? line.substr(pos) : SString();
  rest = trim(rest, kWhiteSpace);
  Pos eq = rest.find('=');
  if (eq == SString::npos) script.raiseError("SET statement is missing =.");
  VariableRef ref = script.parseVariableRef(trim(rest.substr(0, eq), kWhiteSpace),
                                            "Invalid variable specified on left hand side of SET statement.");
  SString value = trim(rest.substr(eq + 1), kWhiteSpace);
  script.evalString(value, "Invalid expression specified for SET command");
  script.setVariable(ref, value, "Invalid value specified for SET command");
}

void verify(Instructions& script, const SString& line, Pos pos) {
  SString word = takeWord(script, line, pos,
                          "The first argument to VERIFY should be a 1 if the UI should be displayed or a 0 if the "
                          "UI should be suppressed.");
  bool showUI = script.evalBool(word, kNoContext);
  word = takeWord(script, line, pos,
                  "The second argument to VERIFY should be a 1 if a find failure message should be displayed in "
                  "a UI or 0 if no message should be displayed.");
  bool showFailMsg = script.evalBool(word, kNoContext);
  word = takeWord(script, line, pos, "The third argument to VERIFY should be the file index number of the jvm file.");
  long fileId = script.evalNumber(word, kNoContext);
  // valid: N1 = 1, S1 = JVM home; invalid: N1 = 0, S1 as it was.
  VerifiedJvm jvm = script.getController().verifyJVMFile(showUI, showFailMsg, fileId);
  setNumericVariable(1, jvm.valid ? 1 : 0);
  if (jvm.valid) setStringVariable(1, jvm.home);
}

void executeLauncher(Instructions& script, const SString& line, Pos pos) {
  SString word = takeWord(script, line, pos,
                          "The EXECUTE_LAUNCHER command requires the index of the embedded launcher as its only "
                          "argument.");
  long position = script.evalNumber(word, kNoContext);
  // Returns only when there was no launcher to hand over to; the script
  // goes on then.
  script.getController().executeEmbeddedLauncher(position);
}

// The rest of a comment line is never read.
void comment(Instructions&, const SString&, Pos) {}

typedef void (*CommandHandler)(Instructions& script, const SString& line, Pos pos);

const struct {
  const char* name;
  CommandHandler handler;
} kCommands[] = {
    {"FIND_JVM", findJvm},
    {"GOTO", gotoLabel},
    {"ILAUNCH", launchInternal},
    {"INITIALIZE_UI", initializeUI},
    {"INSTALL_JVM", installJvm},
    {"JMP0", jumpIfZero},
    {"LAUNCH", launch},
    {"SET", set},
    {"VERIFY", verify},
    {"EXECUTE_LAUNCHER", executeLauncher},
    {"//", comment},
};

}  // namespace

bool runCommand(Instructions& script, const SString& command, const SString& line, SString::size_type pos) {
  for (const auto& c : kCommands) {
    if (command == c.name) {
      c.handler(script, line, pos);
      return true;
    }
  }
  return false;
}

bool isCommandName(const SString& word) {
  for (const auto& c : kCommands) {
    if (word == c.name) return true;
  }
  return false;
}
