#include "launcher/Launcher.h"

#include <string.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>

#include "archive/DamagedLauncher.h"
#include "archive/LauncherFile.h"
#include "base/LauncherException.h"
#include "base/Log.h"
#include "base/OpenFiles.h"
#include "base/Settings.h"
#include "base/Termination.h"
#include "base/Version.h"
#include "fsutil/TempFiles.h"
#include "instructions/Instructions.h"
#include "jvm/VerificationRunner.h"
#include "launch/LaunchVerification.h"
#include "launcher/Actions.h"
#include "launcher/Controller.h"
#include "launcher/HandOver.h"
#include "launcher/OptionHelp.h"
#include "launcher/RunFiles.h"
#include "messages/Messages.h"
#include "tagfile/TagFile.h"

namespace {

// Failures of loading the archive index get one wording wherever they occur.
void LoadIndexProtected(bool withTagFiles) {
  try {
    launcherFile().loadIndex(withTagFiles);
  } catch (const DamagedLauncherException&) {
    // Its own message says all: the file must be downloaded again.
    throw;
  } catch (const LauncherException& e) {
    throw LauncherException(GetMessage(ERR_LOAD_INDEX) + e.getMessage());
  }
}

// The log never complains (a line it cannot write is dropped), so a log
// file that cannot be written is told once, when it is named.
void WarnWhenLogCannotBeWritten(const SString& name) {
  if (name.empty()) return;
  FileStream probe(std::fopen(name.c_str(), "a"));
  if (probe) return;
  PrintMessage(FormatMessage(MSG_LOG_NOT_WRITABLE, name.c_str()) + std::strerror(errno));
}

void WarnWhenJavaHomeIsNoDirectory(const SString& home) {
  struct stat status;
  if (home.empty()) {
    PrintMessage(FormatMessage(MSG_JAVAHOME_MISSING, nullptr));
  } else if (::stat(home.c_str(), &status) != 0 || !S_ISDIR(status.st_mode)) {
    PrintMessage(FormatMessage(MSG_JAVAHOME_NOT_A_DIR, home.c_str()));
  }
}

// Catalogue texts name some options by an old short form ("-log"), the
// same in every language; the user is told the option as it is typed.
SString NameTheOptionAsTyped(const SString& text, const char* shortForm, const SString& option) {
  SString::size_type at = text.find(shortForm);
  if (at == SString::npos) return text;
  return text.substr(0, at) + option + text.substr(at + std::strlen(shortForm));
}

// What -lx:extract wrote: every entry and the input file, all in the
// current directory.
void PrintExtractSummary() {
  const LauncherFile& archive = launcherFile();
  long files = archive.getEntryCount() + 1;
  unsigned long long bytes = 0;
  for (int i = 0; i < archive.getEntryCount(); ++i) bytes += archive.getEntry(i)->getLength();
  struct stat inputTag;
  if (::stat("input.tag", &inputTag) == 0) bytes += static_cast<unsigned long long>(inputTag.st_size);
  char directory[4096];
  const char* where = ::getcwd(directory, sizeof directory) ? directory : ".";
  char byteCount[32];
  std::snprintf(byteCount, sizeof byteCount, "%llu", bytes);
  PrintMessage(FillPlaceholders(FormatMessage(MSG_EXTRACT_SUMMARY, "%s"), {fromLong(files), byteCount, where}));
}

// -lx:version and -lx:help print what was asked for: output that could not
// be written (a full disk, say) makes the run fail, never succeed.
void RequireWrittenOutput() {
  if (std::fflush(stdout) == 0 && !std::ferror(stdout)) return;
  int error = errno != 0 ? errno : EIO;
  std::clearerr(stdout);
  throw LauncherException(FormatMessage(MSG_ANSWER_NOT_WRITTEN, std::strerror(error)));
}

}  // namespace

Launcher::~Launcher() { RemoveTempFiles(); }

int Launcher::start(const StringDeque& args, const SString& executablePath) {
  try {
    setVerificationRunner(&launchScriptVerificationRunner());
    settings().launcherPath = executablePath;
    settings().origLauncherPath = executablePath;
    for (int i = 0; i < args.count(); ++i) settings().allArgs.add(args.get(i));
    int result = run(args);
    if (endedWithoutJvm_) {
      const SString& message = controller().noJvmMessage();
      keepFailureForUser(message.empty() ? GetMessage(ERR_NO_SUITABLE_JVM) : message);
    }
    return result;
  } catch (const LauncherException& e) {
    PrintMessage(e.getMessage());
    log(e.getMessage(), ERROR);
    keepFailureForUser(e.getMessage());
    return -1;
  } catch (const TerminationRequest& request) {
    // Not a failure to show: the user (or the system) asked to stop.
    int signalNumber = request.signalNumber();
    log("Stopped by signal " + fromLong(signalNumber) + " (" + strsignal(signalNumber) + ").", WARNING);
    return request.exitStatus();
  }
}

void Launcher::keepFailureForUser(const SString& message) {
  if (IsSilent() || answersForCaller_) return;
  failureForUser_ = message;
}

int Launcher::run(const StringDeque& args) {
  runInstructionsFlag_ = 1;
  result_ = 0;
  settings().originalGiven = 0;
  SetProgress(0);

  // Options come first. The first argument that is not one, or "--", ends
  // them: what follows is the program's, passed on as it is even where it
  // looks like an option (a file named -lx:in among the names a shell
  // pattern gave).
  bool optionsEnded = false;
  const int count = args.count();
  for (int i = 0; i < count; ++i) {
    const SString& arg = args.get(i);
    const bool hasValue = i + 2 <= count;
    if (optionsEnded) {
      settings().passOnArgs.add(arg);
    } else if (arg == "--") {
      optionsEnded = true;
    } else if (arg == "-lx:log") {
      if (hasValue) {
        SString name = args.get(++i);
        setLogFile(name);
        WarnWhenLogCannotBeWritten(name);
      } else {
        result_ = -1;
        PrintMessage(NameTheOptionAsTyped(GetMessage(ERR_LOG_NAME_MISSING), "-log", arg));
      }
    } else if (arg == "-lx:orig") {
      if (!hasValue) {
        result_ = -1;
        PrintMessage("Missing original launcher file name.");
      } else if (TakeHandOverFor(settings().launcherPath)) {
        settings().origLauncherPath = args.get(++i);
        settings().originalGiven = 1;
      } else {
        // It would delete this launcher's file and directory at the end.
        ++i;
        result_ = -1;
        PrintMessage(
            "-lx:orig is refused: only a launcher handing over to the launcher embedded in it may give it. Nothing "
            "is deleted.");
      }
    } else if (arg == "-lx:tempdir") {
      if (hasValue) SetTempRoot(args.get(++i));
    } else if (arg == "-lx:silent") {
      SetSilent(1);
    } else if (arg == "-lx:javahome") {
      // Not a directory: told, then tried as before, so the search and
      // VERIFY go on as they would.
      SString home = hasValue ? args.get(++i) : SString();
      WarnWhenJavaHomeIsNoDirectory(home);
      if (hasValue) settings().javaHome = home;
    } else if (arg == "-lx:extract") {
      LoadIndexProtected(false);
      try {
        launcherFile().extractAll();
      } catch (const LauncherException& e) {
        throw LauncherException(GetMessage(ERR_EXTRACT_FAILED) + e.getMessage());
      }
      SetProgress(100);
      PrintExtractSummary();
      runInstructionsFlag_ = 0;
    } else if (arg == "-lx:in") {
      if (hasValue) {
        processInputFile(args.get(++i));
      } else {
        PrintMessage(GetMessage(ERR_INPUT_NAME_MISSING));
        runInstructionsFlag_ = 0;
        result_ = -1;
      }
    } else if (arg == "-lx:version") {
      errno = 0;
      PrintMessage(kLauncherVersion);
      RequireWrittenOutput();
      runInstructionsFlag_ = 0;
    } else if (arg == "-lx:help") {
      errno = 0;
      printOptionHelp();
      RequireWrittenOutput();
      runInstructionsFlag_ = 0;
    } else if (arg == "-lx:javaconsole") {
      settings().javaConsole = 1;
    } else if (arg == "-cp:p") {
      if (hasValue) settings().cpPrepend = args.get(++i);
    } else if (arg == "-cp:a") {
      if (hasValue) settings().cpAppend = args.get(++i);
    } else {
      optionsEnded = true;
      settings().passOnArgs.add(arg);
    }
  }

  if (runInstructionsFlag_ == 1) {
    if (!launcherFile().isIndexLoaded()) LoadIndexProtected(true);
    result_ = runInstructions();
    SetProgress(100);
  }
  return result_;
}

void Launcher::processInputFile(const SString& value) {
  // Only an input file that runs the instructions leaves the run to the
  // user; one that cannot be read serves a caller as much as any action.
  const bool answersBefore = answersForCaller_;
  answersForCaller_ = true;
  TagFile input;
  try {
    SString name = stripOuterQuotes(value);
    FileStream stream(name.empty() ? nullptr : std::fopen(name.c_str(), "r"));
    if (!stream) throw LauncherException(GetMessage(ERR_OPEN_INPUT_FILE));
    log("Loading input file " + value, INFO);
    input.load(stream.get(), value, 0, -1);
    setLogFile(input.getValue("LOGFILE", 0));
  } catch (const LauncherException& e) {
    PrintMessage(GetMessage(ERR_LOAD_INPUT_FILE) + e.getMessage());
    throw;
  }
  try {
    launcherFile().applyInputFile(input);
  } catch (const LauncherException& e) {
    PrintMessage(e.getMessage());
    throw;
  }
  LoadIndexProtected(true);
  performAction(input);
  if (runInstructionsFlag_ == 1) answersForCaller_ = answersBefore;
}

void Launcher::performAction(const TagFile& input) {
  const bool showProgress = input.getBool("SHOW_PROGRESS", false);
  const bool showFailMsg = input.getBool("SHOW_FAIL_MSG", false);
  if (showProgress || showFailMsg) {
    EnableProgress();
  } else {
    DisableProgress();
  }
  if (showProgress) SetProgress(0);

  const SString action = input.getValue("ACTION", 0);
  if (action == "RUN_INSTRUCTIONS") {
    runInstructionsFlag_ = 1;
  } else if (action == "SEARCH") {
    searchAction(showProgress, showFailMsg);
    SetProgress(100);
    runInstructionsFlag_ = 0;
  } else if (action == "SEARCH_ALL") {
    searchAllAction(showProgress, showFailMsg);
    SetProgress(100);
    runInstructionsFlag_ = 0;
  } else if (action == "VERIFY_JVM") {
    SString file = input.getValue("VERIFY_JVM_FILE", 0);
    SString home = input.getValue("VERIFY_JVM_HOME", 0);
    if (!file.empty() && !home.empty()) {
      verifyAction(showProgress, showFailMsg, file, home);
      SetProgress(100);
    } else {
      log("TO execute the VERIFY_JVM action, you must also provide values in the input file for "
          "VERIFY_JVM_FILE and VERIFY_JVM_HOME.",
          ERROR);
      result_ = -1;
    }
    runInstructionsFlag_ = 0;
  } else if (action == "INSTALL_JVM") {
    SString exe = input.getValue("INSTALL_JVM_EXE", 0);
    SString dest = input.getValue("INSTALL_JVM_DEST", 0);
    if (!exe.empty() && !dest.empty()) installAction(showProgress, showFailMsg, exe, dest);
    SetProgress(100);
    runInstructionsFlag_ = 0;
  } else {
    runInstructionsFlag_ = 0;
    SString message = GetMessage(ERR_INVALID_ACTION) + action;
    PrintMessage(message);
    throw LauncherException(message);
  }
}

int Launcher::runInstructions() {
  Instructions* script = runFiles().getInstructions();
  if (!script) return -1;
  try {
    controller().forgetJvmOutcome();
    endedWithoutJvm_ = false;
    int result = script->execute();
    // A script that ends on its "no suitable JVM" path installed nothing;
    // a calling program must be able to tell that from a success.
    if (controller().endsWithoutJvm()) {
      log("The instructions ended without a JVM and launched nothing after looking for one: exit status " +
              fromLong(kNoJvmExitStatus) + ".",
          WARNING);
      endedWithoutJvm_ = true;
      return kNoJvmExitStatus;
    }
    return result;
  } catch (const InstructionsException& e) {
    throw LauncherException("Error in instructions. " + e.getMessage() + " Line number (" + fromLong(e.getLine()) +
                            ")");
  }
}
