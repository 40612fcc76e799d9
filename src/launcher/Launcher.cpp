#include "launcher/Launcher.h"

#include <string.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdio>

#include "archive/DamagedLauncher.h"
#include "base/LauncherException.h"
#include "base/Log.h"
#include "base/OpenFiles.h"
#include "base/Termination.h"
#include "fsutil/TempFiles.h"
#include "instructions/Instructions.h"
#include "launch/LaunchScript.h"
#include "launcher/CommandLine.h"
#include "launcher/Controller.h"
#include "launcher/InputFileActions.h"
#include "launcher/RunFiles.h"
#include "launcher/RunState.h"
#include "launcher/Settings.h"
#include "messages/Messages.h"
#include "tagfile/TagFile.h"

namespace {

// Failures of loading the archive index get one wording wherever they occur.
void loadIndexProtected(bool withTagFiles) {
  try {
    launcherFile().loadIndex(settings().fileToRead(), withTagFiles);
  } catch (const DamagedLauncherException&) {
    // Its own message says all: the file must be downloaded again.
    throw;
  } catch (const LauncherException& e) {
    throw LauncherException(GetMessage(ERR_LOAD_INDEX) + e.getMessage());
  }
}

// What -lx:extract wrote: every entry and the input file, all in the
// current directory.
void printExtractSummary() {
  const LauncherFile& archive = launcherFile();
  long files = archive.getEntryCount() + 1;
  unsigned long long bytes = 0;
  // A deflated entry was written inflated.
  for (int i = 0; i < archive.getEntryCount(); ++i) {
    const FileIndexEntry* entry = archive.getEntry(i);
    bytes += entry->isDeflated() ? entry->getDecompressedSize() : entry->getLength();
  }
  struct stat inputTag;
  if (::stat("input.tag", &inputTag) == 0) bytes += static_cast<unsigned long long>(inputTag.st_size);
  char directory[4096];
  const char* where = ::getcwd(directory, sizeof directory) ? directory : ".";
  char byteCount[32];
  std::snprintf(byteCount, sizeof byteCount, "%llu", bytes);
  PrintMessage(FillPlaceholders(FormatMessage(MSG_EXTRACT_SUMMARY, "%s"), {fromLong(files), byteCount, where}));
}

}  // namespace

Launcher::~Launcher() { RemoveTempFiles(); }

int Launcher::start(const StringDeque& args, const SString& executablePath) {
  try {
    settings().launcherPath = executablePath;
    settings().origLauncherPath = executablePath;
    for (int i = 0; i < args.count(); ++i) settings().allArgs.add(args.get(i));
    int result = run(args);
    if (endedWithoutJvm_) {
      const SString& message = controller().noJvmDialogText();
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
  // A console program's caller may be a build tool or an IDE with every
  // stream redirected: a dialog would hold it until someone closes it.
  LaunchScript* script = runFiles().getLaunchScript();
  if (script && !script->failureDialog()) return;
  failureForUser_ = message;
}

int Launcher::run(const StringDeque& args) {
  runInstructionsFlag_ = 1;
  result_ = 0;
  SetProgress(0);

  applyCommandLine(parseCommandLine(args), *this);

  if (runInstructionsFlag_ == 1) {
    if (!launcherFile().isIndexLoaded()) loadIndexProtected(true);
    result_ = runInstructions();
    SetProgress(100);
  }
  return result_;
}

void Launcher::failRun() { result_ = -1; }

void Launcher::skipInstructions() { runInstructionsFlag_ = 0; }

void Launcher::extractEmbeddedFiles() {
  loadIndexProtected(false);
  try {
    launcherFile().extractAll();
  } catch (const LauncherException& e) {
    throw LauncherException(GetMessage(ERR_EXTRACT_FAILED) + e.getMessage());
  }
  SetProgress(100);
  printExtractSummary();
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
  loadIndexProtected(true);
  ActionOutcome outcome = performInputFileAction(input);
  runInstructionsFlag_ = outcome.runInstructions ? 1 : 0;
  if (outcome.failed) result_ = -1;
  if (runInstructionsFlag_ == 1) answersForCaller_ = answersBefore;
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
