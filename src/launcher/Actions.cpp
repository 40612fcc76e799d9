#include "launcher/Actions.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <new>

#include "base/LauncherException.h"
#include "base/Log.h"
#include "fsutil/TempFiles.h"
#include "jvm/JVMFiles.h"
#include "jvm/JVMMatch.h"
#include "launch/RunCommand.h"
#include "launcher/Controller.h"
#include "launcher/RunFiles.h"
#include "messages/Messages.h"
#include "tagfile/TagFile.h"

namespace {

// An answer the calling program cannot read is a failed run, never a
// success: a line that does not reach standard output whole throws.
void WriteAnswer(const SString& line) {
  errno = 0;
  bool written = std::fwrite(line.c_str(), 1, line.length(), stdout) == line.length() &&
                 std::fputc('\n', stdout) != EOF && std::fflush(stdout) == 0;
  if (!written) {
    int error = errno != 0 ? errno : EIO;
    std::clearerr(stdout);
    throw LauncherException(FormatMessage(MSG_ANSWER_NOT_WRITTEN, std::strerror(error)));
  }
}

// Answers go straight to standard output: they are the action's result for
// the calling program, not messages for a user. Each is a line of its own,
// also after the dots of a search the input file asked to show.
void AnswerNumber(long n) {
  EndProgressLine();
  WriteAnswer(fromLong(n));
}

void AnswerText(const SString& text) {
  EndProgressLine();
  WriteAnswer(text);
}

}  // namespace

void searchAction(bool showProgress, bool showFailMsg) {
  FoundJvm jvm;
  try {
    jvm = controller().findJVM(showProgress, showFailMsg);
  } catch (const LauncherException& e) {
    // No answer and no console message: the caller reads the missing answer
    // as no JVM. The log keeps the reason for whoever has to find it.
    log(e.getMessage(), ERROR);
    return;
  } catch (const std::bad_alloc&) {
    throw;
  } catch (const std::exception&) {
    log("Unexpected failure in search.", ERROR);
    return;
  }
  // The description outlives the run only once its name has reached the
  // caller; an answer that cannot be written leaves it to the clean-up.
  AnswerNumber(jvm.found ? 1 : 0);
  if (jvm.found) {
    AnswerText(jvm.home);
    AnswerText(jvm.descriptionFile);
    UnregisterTempFile(jvm.descriptionFile);
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
  JVMMatchPtrDeque matches;
  StringDeque files;
  try {
    runFiles().getJVMFiles().searchAll(matches, 0);
    for (int i = 0; i < matches.count(); ++i) files.add(matches.get(i)->writeJvmFile());
  } catch (const LauncherException& e) {
    SString message = GetMessage(ERR_SEARCH_ALL_FAILED) + e.getMessage();
    log(message, ERROR);
    if (showFailMsg) PrintMessage(message);
    AnswerNumber(0);
    return;
  }
  AnswerNumber(matches.count());
  for (int i = 0; i < matches.count(); ++i) {
    AnswerText(matches.get(i)->getHome());
    AnswerText(files.get(i));
    UnregisterTempFile(files.get(i));
  }
}

void verifyAction(bool showProgress, bool showFailMsg, const SString& file, const SString& home) {
  TagFile description(file);
  VerifiedJvm verified = controller().verifyAgainstHome(showProgress, showFailMsg, &description, home);
  AnswerNumber(verified.valid ? 1 : 0);
}

void installAction(bool /*showProgress*/, bool /*showFailMsg*/, const SString& exe, const SString& dest) {
  runCommand(exe, CommandOptions().inDirectory(dest));
  SString path = jvmDescriptionPath(dest);
  TagFile description(path);
  description.setJvmInfo(dest, path, false);
  description.write(path);
  AnswerText(path);
}
