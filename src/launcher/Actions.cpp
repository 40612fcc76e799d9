#include "launcher/Actions.h"

#include <cstdio>

#include "archive/LauncherFile.h"
#include "base/LauncherException.h"
#include "fsutil/TempFiles.h"
#include "instructions/Variables.h"
#include "launch/RunCommand.h"
#include "launcher/Controller.h"
#include "launcher/Log.h"
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

SString JvmFileIn(const SString& dir) {
  SString path = dir;
  if (path.empty() || path[path.length() - 1] != '/') path += "/";
  return path + "jvm";
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
  } catch (const LauncherException&) {
    // The failure has been logged where it happened; the caller reads the
    // missing answer as no JVM.
  } catch (const std::exception&) {
    log("Unexpected failure in search.", ERROR);
  }
}

void searchAllAction(bool, bool) {
  throw LauncherException("The SEARCH_ALL action is not available in this build of the launcher.");
}

void verifyAction(bool showProgress, bool showFailMsg, const SString& file, const SString& home) {
  TagFile description(file);
  controller().verifyAgainstHome(showProgress, showFailMsg, &description, home);
  AnswerNumber(getNumericVariable(1));
}

void installAction(bool showProgress, bool /*showFailMsg*/, const SString& exe, const SString& dest) {
  runCommand(exe, dest, showProgress ? 1 : 0, 0, 1, nullptr, nullptr, 0);
  SString path = JvmFileIn(dest);
  TagFile description(path);
  description.setJvmInfo(dest, path, false);
  description.write(path);
  AnswerText(path);
}
