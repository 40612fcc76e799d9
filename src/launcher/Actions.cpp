#include "launcher/Actions.h"

#include <cstdio>

#include "archive/LauncherFile.h"
#include "base/LauncherException.h"
#include "base/Log.h"
#include "fsutil/TempFiles.h"
#include "instructions/Variables.h"
#include "jvm/JVMFiles.h"
#include "jvm/JVMMatch.h"
#include "launch/RunCommand.h"
#include "launcher/Controller.h"
#include "launcher/RunFiles.h"
#include "messages/Messages.h"
#include "tagfile/TagFile.h"

namespace {

// Answers go straight to standard output: they are the action's result for
// the calling program, not messages for a user.
void AnswerNumber(long n) {
  std::printf("%ld\n", n);
  std::fflush(stdout);
}

void AnswerText(const SString& text) {
  std::printf("%s\n", text.c_str());
  std::fflush(stdout);
}

}  // namespace

void searchAction(bool showProgress, bool showFailMsg) {
  try {
    controller().findJVM(showProgress, showFailMsg);
    long found = getNumericVariable(1);
    AnswerNumber(found);
    if (found == 1) {
      AnswerText(getStringVariable(1));
      AnswerText(getStringVariable(2));
      UnregisterTempFile(getStringVariable(2));
    }
  } catch (const LauncherException& e) {
    // No answer and no console message: the caller reads the missing answer
    // as no JVM. The log keeps the reason for whoever has to find it.
    log(e.getMessage(), ERROR);
  } catch (const std::exception&) {
    log("Unexpected failure in search.", ERROR);
  }
}

void searchAllAction(bool showProgress, bool showFailMsg) {
  log("Finding all matching JVMs", INFO);
  if (showProgress) {
    ShowStatus(STATUS_SEARCHING);
    EnableProgress();
  } else {
    DisableProgress();
  }
  try {
    JVMMatchPtrDeque matches;
    runFiles().getJVMFiles().searchAll(matches, 0);
    AnswerNumber(matches.count());
    for (int i = 0; i < matches.count(); ++i) {
      JVMMatch* match = matches.get(i);
      SString file = match->writeJvmFile();
      UnregisterTempFile(file);
      AnswerText(match->getHome());
      AnswerText(file);
    }
  } catch (const LauncherException& e) {
    SString message = GetMessage(ERR_SEARCH_ALL_FAILED) + e.getMessage();
    log(message, ERROR);
    if (showFailMsg) PrintMessage(message);
    AnswerNumber(0);
  }
}

void verifyAction(bool showProgress, bool showFailMsg, const SString& file, const SString& home) {
  TagFile description(file);
  controller().verifyAgainstHome(showProgress, showFailMsg, &description, home);
  AnswerNumber(getNumericVariable(1));
}

void installAction(bool showProgress, bool /*showFailMsg*/, const SString& exe, const SString& dest) {
  runCommand(exe, dest, showProgress ? 1 : 0, 0, 1, nullptr, nullptr, 0);
  SString path = jvmDescriptionPath(dest);
  TagFile description(path);
  description.setJvmInfo(dest, path, false);
  description.write(path);
  AnswerText(path);
}
