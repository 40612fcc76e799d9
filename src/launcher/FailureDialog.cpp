#include "launcher/FailureDialog.h"

#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <initializer_list>

#include "base/Log.h"
#include "base/Termination.h"
#include "jvm/WindowingLibrary.h"
#include "launch/RunProgram.h"
#include "launcher/DialogTools.h"
#include "launcher/Settings.h"
#include "messages/Messages.h"
#include "messages/UserLocale.h"
#include "messages/Utf8Text.h"

namespace {

// A dialog nobody closes (the user went away) must not keep the launcher
// for ever.
const int kDialogTimeoutSeconds = 10 * 60;

SString baseName(const SString& path) {
  SString::size_type slash = path.rfind('/');
  return slash == SString::npos ? path : path.substr(slash + 1);
}

// The reader of the dialog is not in the launcher's working directory.
SString absolutePath(const SString& path) {
  if (!path.empty() && path[0] == '/') return path;
  char directory[4096];
  if (getcwd(directory, sizeof directory) == nullptr) return path;
  SString result(directory);
  if (result.empty() || result[result.length() - 1] != '/') result += "/";
  return result + path;
}

SString dialogTitle() {
  SString title = GetTitleInUtf8();
  return title.empty() ? ConsoleTextInUtf8(baseName(settings().origLauncherPath)) : title;
}

SString dialogText(const SString& message) {
  SString text = ConsoleTextInUtf8(message);
  SString logFile = getLogFile();
  if (!logFile.empty()) {
    text += "\n\n" + ConsoleTextInUtf8(FormatMessage(MSG_DIALOG_LOG_FILE, absolutePath(logFile).c_str()));
  }
  return text;
}

// The tools of GTK and Qt read their arguments in the character set of the
// locale (LC_ALL, LC_CTYPE, LANG), and GTK refuses text it cannot convert
// ("This option is not available"). GLib takes the character set from
// CHARSET when it is set, which also covers a UTF-8 locale the system does
// not have (the C library falls back to ASCII then); a locale that names
// no UTF-8 is replaced by C.UTF-8 for the others.
bool toolLocaleIsUtf8() {
  for (const char* variable : {"LC_ALL", "LC_CTYPE", "LANG"}) {
    const char* value = std::getenv(variable);
    if (value != nullptr && *value != '\0') return TerminalCharsetOf(value) == TerminalCharset::kUtf8;
  }
  return false;
}

}  // namespace

bool failureDialogNeeded() {
  for (int fd : {STDIN_FILENO, STDOUT_FILENO, STDERR_FILENO}) {
    if (isatty(fd)) return false;
  }
  return DisplayAvailable();
}

void showFailureDialog(const SString& message) {
  if (!failureDialogNeeded()) return;
  ProgramRun run;
  const DialogTool* tool = findDialogTool(run.program);
  if (tool == nullptr) {
    log("No terminal and a display, but none of " + dialogToolNames() +
            " is on PATH: the failure is shown on the console only.",
        WARNING);
    return;
  }
  run.arguments = dialogArguments(*tool, dialogTitle(), dialogText(message));
  run.environment.add("CHARSET=UTF-8");
  if (!toolLocaleIsUtf8()) run.environment.add("LC_ALL=C.UTF-8");
  run.timeoutSeconds = kDialogTimeoutSeconds;
  log("No terminal: the failure is shown in a dialog by " + run.program + ".", INFO);
  int status = runProgram(run);
  if (status < 0) {
    log("The dialog program " + run.program + " could not be started: " + std::strerror(errno), WARNING);
  } else if (TerminationSignal() != 0) {
    log("The launcher was asked to end: the dialog was ended with it (status " + fromLong(status) + ").", INFO);
  } else if (run.expired) {
    log("The dialog was not closed within " + fromLong(kDialogTimeoutSeconds / 60) + " minutes and was ended.",
        WARNING);
  } else {
    log("The dialog ended with status " + fromLong(status) + ".", INFO);
  }
}
