#include "launcher/LauncherOptions.h"

#include <sys/stat.h>

#include <cerrno>
#include <cstdio>
#include <cstring>

#include "base/LauncherException.h"
#include "base/Log.h"
#include "base/OpenFiles.h"
#include "base/Version.h"
#include "fsutil/TempFiles.h"
#include "launcher/HandOver.h"
#include "launcher/OptionHelp.h"
#include "launcher/Settings.h"
#include "messages/Messages.h"

namespace {

// The log never complains (a line it cannot write is dropped), so a log
// file that cannot be written is told once, when it is named.
void warnWhenLogCannotBeWritten(const SString& name) {
  if (name.empty()) return;
  FileStream probe(std::fopen(name.c_str(), "a"));
  if (probe) return;
  PrintMessage(FormatMessage(MSG_LOG_NOT_WRITABLE, name.c_str()) + std::strerror(errno));
}

void warnWhenJavaHomeIsNoDirectory(const SString& home) {
  struct stat status;
  if (home.empty()) {
    PrintMessage(FormatMessage(MSG_JAVAHOME_MISSING, nullptr));
  } else if (::stat(home.c_str(), &status) != 0 || !S_ISDIR(status.st_mode)) {
    PrintMessage(FormatMessage(MSG_JAVAHOME_NOT_A_DIR, home.c_str()));
  }
}

// Catalogue texts name some options by an old short form ("-log"), the
// same in every language; the user is told the option as it is typed.
SString nameTheOptionAsTyped(const SString& text, const char* shortForm, const char* option) {
  SString::size_type at = text.find(shortForm);
  if (at == SString::npos) return text;
  return text.substr(0, at) + option + text.substr(at + std::strlen(shortForm));
}

// -lx:version and -lx:help print what was asked for: output that could not
// be written (a full disk, say) makes the run fail, never succeed.
void requireWrittenOutput() {
  if (std::fflush(stdout) == 0 && !std::ferror(stdout)) return;
  int error = errno != 0 ? errno : EIO;
  std::clearerr(stdout);
  throw LauncherException(FormatMessage(MSG_ANSWER_NOT_WRITTEN, std::strerror(error)));
}

void logTo(OptionRun&, const SString& name) {
  setLogFile(name);
  warnWhenLogCannotBeWritten(name);
}

void logNameMissing(OptionRun& run, const char* option) {
  run.failRun();
  PrintMessage(nameTheOptionAsTyped(GetMessage(ERR_LOG_NAME_MISSING), "-log", option));
}

void originalLauncher(OptionRun& run, const SString& path) {
  if (TakeHandOverFor(settings().launcherPath)) {
    settings().origLauncherPath = path;
    RemoveOwnExecutableAtExit(settings().launcherPath);
    return;
  }
  // It would delete this launcher's file and directory at the end.
  run.failRun();
  PrintMessage(
      "-lx:orig is refused: only a launcher handing over to the launcher embedded in it may give it. Nothing is "
      "deleted.");
}

void originalLauncherMissing(OptionRun& run, const char*) {
  run.failRun();
  PrintMessage("Missing original launcher file name.");
}

void tempDirectory(OptionRun&, const SString& directory) { SetTempRoot(directory); }

void silent(OptionRun&, const SString&) { SetSilent(1); }

// Not a directory: told, then tried as before, so the search and VERIFY go
// on as they would.
void javaHome(OptionRun&, const SString& home) {
  warnWhenJavaHomeIsNoDirectory(home);
  settings().javaHome = home;
}

void javaHomeMissing(OptionRun&, const char*) { warnWhenJavaHomeIsNoDirectory(SString()); }

void extract(OptionRun& run, const SString&) {
  run.extractEmbeddedFiles();
  run.skipInstructions();
}

void inputFile(OptionRun& run, const SString& name) { run.processInputFile(name); }

void inputFileMissing(OptionRun& run, const char*) {
  PrintMessage(GetMessage(ERR_INPUT_NAME_MISSING));
  run.skipInstructions();
  run.failRun();
}

void version(OptionRun& run, const SString&) {
  errno = 0;
  PrintMessage(kLauncherVersion);
  requireWrittenOutput();
  run.skipInstructions();
}

void help(OptionRun& run, const SString&) {
  errno = 0;
  printOptionHelp();
  requireWrittenOutput();
  run.skipInstructions();
}

void javaConsole(OptionRun&, const SString&) { settings().javaConsole = 1; }

void classPathFirst(OptionRun&, const SString& entries) { settings().cpPrepend = entries; }

void classPathLast(OptionRun&, const SString& entries) { settings().cpAppend = entries; }

}  // namespace

const LauncherOption kLauncherOptions[] = {
    {"-lx:help", nullptr, help, nullptr, MSG_HELP_FIRST_OPTION},
    {"-lx:version", nullptr, version, nullptr, MSG_HELP_FIRST_OPTION + 1},
    {"-lx:log", "FILE", logTo, logNameMissing, MSG_HELP_FIRST_OPTION + 2},
    {"-lx:javahome", "DIR", javaHome, javaHomeMissing, MSG_HELP_FIRST_OPTION + 3},
    {"-lx:tempdir", "DIR", tempDirectory, nullptr, MSG_HELP_FIRST_OPTION + 4},
    {"-lx:silent", nullptr, silent, nullptr, MSG_HELP_FIRST_OPTION + 5},
    {"-lx:javaconsole", nullptr, javaConsole, nullptr, MSG_HELP_FIRST_OPTION + 6},
    {"-lx:extract", nullptr, extract, nullptr, MSG_HELP_FIRST_OPTION + 7},
    {"-lx:in", "FILE", inputFile, inputFileMissing, MSG_HELP_FIRST_OPTION + 8},
    {"-cp:p", "ENTRIES", classPathFirst, nullptr, MSG_HELP_FIRST_OPTION + 9},
    {"-cp:a", "ENTRIES", classPathLast, nullptr, MSG_HELP_LAST_OPTION},
    // It serves the hand-over to an embedded launcher and deletes the
    // launcher's file, nothing a user should type.
    {"-lx:orig", "PATH", originalLauncher, originalLauncherMissing, kNotListed},
};

const int kLauncherOptionCount = sizeof kLauncherOptions / sizeof kLauncherOptions[0];

const LauncherOption* findLauncherOption(const SString& argument) {
  for (const LauncherOption& option : kLauncherOptions) {
    if (argument == option.name) return &option;
  }
  return nullptr;
}
