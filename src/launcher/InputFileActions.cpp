#include "launcher/InputFileActions.h"

#include "base/LauncherException.h"
#include "base/Log.h"
#include "launcher/Actions.h"
#include "messages/Messages.h"
#include "tagfile/TagFile.h"

namespace {

void search(bool showProgress, bool showFailMsg, const SString&, const SString&) {
  searchAction(showProgress, showFailMsg);
}

void searchAll(bool showProgress, bool showFailMsg, const SString&, const SString&) {
  searchAllAction(showProgress, showFailMsg);
}

// The caller reads the missing answer; the log says why there is none.
bool verifyWithoutValues() {
  log("TO execute the VERIFY_JVM action, you must also provide values in the input file for "
      "VERIFY_JVM_FILE and VERIFY_JVM_HOME.",
      ERROR);
  return true;
}

// Nothing to install is no failure: the run ends as after an installation.
bool installWithoutValues() {
  SetProgress(100);
  return false;
}

const InputFileAction* findAction(const SString& name) {
  for (int i = 0; i < kInputFileActionCount; ++i) {
    if (name == kInputFileActions[i].name) return &kInputFileActions[i];
  }
  return nullptr;
}

}  // namespace

const InputFileAction kInputFileActions[] = {
    {"RUN_INSTRUCTIONS", {nullptr, nullptr}, nullptr, nullptr},
    {"SEARCH", {nullptr, nullptr}, search, nullptr},
    {"SEARCH_ALL", {nullptr, nullptr}, searchAll, nullptr},
    {"VERIFY_JVM", {"VERIFY_JVM_FILE", "VERIFY_JVM_HOME"}, verifyAction, verifyWithoutValues},
    {"INSTALL_JVM", {"INSTALL_JVM_EXE", "INSTALL_JVM_DEST"}, installAction, installWithoutValues},
};

const int kInputFileActionCount = sizeof kInputFileActions / sizeof kInputFileActions[0];

ActionOutcome performInputFileAction(const TagFile& input) {
  const bool showProgress = input.getBool("SHOW_PROGRESS", false);
  const bool showFailMsg = input.getBool("SHOW_FAIL_MSG", false);
  if (showProgress || showFailMsg) {
    EnableProgress();
  } else {
    DisableProgress();
  }
  if (showProgress) SetProgress(0);

  const SString name = input.getValue("ACTION", 0);
  const InputFileAction* action = findAction(name);
  if (!action) {
    SString message = GetMessage(ERR_INVALID_ACTION) + name;
    PrintMessage(message);
    throw LauncherException(message);
  }
  if (!action->perform) return {true, false};

  SString values[2];
  bool complete = true;
  for (int k = 0; k < 2; ++k) {
    if (!action->neededKeys[k]) continue;
    values[k] = input.getValue(action->neededKeys[k], 0);
    complete = complete && !values[k].empty();
  }
  if (!complete) return {false, action->withoutValues()};
  action->perform(showProgress, showFailMsg, values[0], values[1]);
  SetProgress(100);
  return {false, false};
}
