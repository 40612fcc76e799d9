#include "launcher/Controller.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <memory>

#include "archive/Extract.h"
#include "archive/FileIndexEntry.h"
#include "archive/LauncherFile.h"
#include "base/LauncherException.h"
#include "base/Log.h"
#include "base/Termination.h"
#include "fsutil/Platform.h"
#include "fsutil/ProgramsAllowed.h"
#include "fsutil/TempFiles.h"
#include "jvm/JVMFile.h"
#include "jvm/JVMFiles.h"
#include "jvm/JVMMatch.h"
#include "jvm/VerifiedJvmStore.h"
#include "launch/JvmStartWatch.h"
#include "launch/LaunchScript.h"
#include "launch/ProcessTree.h"
#include "launch/Quoting.h"
#include "launch/RunCommand.h"
#include "launcher/HandOver.h"
#include "launcher/RunFiles.h"
#include "launcher/RunState.h"
#include "launcher/Settings.h"
#include "messages/Messages.h"
#include "tagfile/TagFile.h"

namespace {

SString javaExecutable(const TagFile& description) {
  SString home = description.getValue("JVM_HOME", 0);
  SString exe = description.getValue("JVM_EXE", 0);
  return home + (home.empty() || home[home.length() - 1] == '/' ? "" : "/") + exe;
}

// A launch that fails within this time, with a JVM whose answer came from
// the store, may have failed for want of a working JVM: the JVM's own start
// takes a moment, a wizard that did its work takes longer.
const long long kQuickFailureMillis = 10000;
// Each relaunch forgets one stored answer; a few are more than enough.
const int kMostRelaunches = 3;

// A program extracted into a directory of a file system mounted noexec
// fails with a bare "Permission denied" from the shell; say what is wrong
// with the directory the user chose instead.
void RequireExecutableDestination(const SString& dir) {
  if (WhyProgramsCannotRun(dir).empty()) return;
  throw LauncherException(FormatMessage(MSG_NOEXEC_DESTINATION, dir.c_str()));
}

}  // namespace

// Runs the launch script with a JVM description and keeps what the
// application wrote to its error output, for the entry point to show after
// a failing run.
int Controller::launchWith(LaunchScript* script, TagFile* description, short seconds, JvmStartWatch* watch) {
  JVMFile jvm(description, runContext());
  if (seconds > 0) {
    ShowStatus(STATUS_RUNNING);
    ShowStep(STEP_NONE, "");
  }
  DisableProgress();
  // The program's own output starts on a line of its own.
  EndProgressLine();
  int result = script->launch(&jvm, &settings().passOnArgs, settings().javaConsole, watch);
  childErrorOutput_ = script->getStderrText();
  return result;
}

SString jvmDescriptionPath(const SString& directory) {
  SString path = directory;
  if (path.empty() || path[path.length() - 1] != '/') path += "/";
  return path + "jvm";
}

Controller& controller() {
  static Controller instance;
  return instance;
}

void Controller::initializeUI() {
  ShowStatus(STATUS_INITIALIZING);
  ShowStep(STEP_NONE, "");
  EnableProgress();
}

InstalledJvm Controller::installBundledJVM(long mode) {
  InstalledJvm installed;
  if (mode == 0) {
    DisableProgress();
  } else {
    EnableProgress();
    ShowStatus(STATUS_PREPARING);
  }

  LauncherFile& archive = launcherFile();
  FileIndexEntry* installer = nullptr;
  for (int i = 0; i < archive.getEntryCount() && !installer; ++i) {
    FileIndexEntry* entry = archive.getEntry(i);
    if (entry && entry->getType() == FT_JVM_INSTALLER) installer = entry;
  }
  if (!installer) throw LauncherException(GetMessage(ERR_NO_JVM_INSTALLER));

  SString destination;
  if (mode == 0 || mode == 1) {
    UseExecutableTempDirectory("the JVM installer runs from it");
    destination = CreateTempDir();
  } else if (mode == 2) {
    destination = PromptForDirectory();
    // A signal cuts the prompt short; the empty answer is not the user's.
    CheckTermination();
  }
  if (destination.empty()) return installed;

  if (mode == 2) RequireExecutableDestination(destination);
  SString program = launcherFile().extract(installer, destination);
  SString output, errorOutput;
  runCommand(quoteForShell(program), CommandOptions().inDirectory(destination).captureInto(&output, &errorOutput));
  RemovePath(program);

  SString descriptionPath = jvmDescriptionPath(destination);
  if (!FileExists(descriptionPath)) {
    log("Invalid bundled JVM. Missing 'jvm' file.", ERROR);
    return installed;
  }
  TagFile description(descriptionPath);
  description.setJvmInfo(destination, descriptionPath, true);
  description.write(descriptionPath);
  withoutJvm_ = false;
  installed.installed = true;
  installed.descriptionFile = descriptionPath;
  return installed;
}

int Controller::launchJVMFile(const SString& path, short seconds) {
  LaunchScript* script = runFiles().getLaunchScript();
  if (!script) return -1;
  SString descriptionPath = path;
  for (int attempt = 0;; ++attempt) {
    TagFile description(descriptionPath);
    withoutJvm_ = false;
    const SString home = description.getValue("JVM_HOME", 0);
    const SString executable = javaExecutable(description);
    // Only a launch with a remembered answer can call for a second look.
    std::unique_ptr<JvmStartWatch> watch(answerWasRecalled(executable) ? new JvmStartWatch(executable) : nullptr);
    const long long started = MonotonicMillis();
    int result = launchWith(script, &description, seconds, watch.get());
    if (result == 0 || !watch || attempt >= kMostRelaunches || MonotonicMillis() - started > kQuickFailureMillis) {
      return result;
    }
    if (!mayNotHaveStarted(executable, LaunchEnd{result, watch->programReached(), childErrorOutput_}) ||
        stillVerifies(&description, home, executable)) {
      return result;
    }
    // The stored answer was wrong: the JVM cannot run the verification class
    // either, so the wizard's class never ran, and the launch is made again
    // with a JVM that verifies now.
    FoundJvm again = findJVM(false, true);
    if (!again.found) return result;
    descriptionPath = again.descriptionFile;
  }
}

// A launch with a JVM whose answer came from the store failed at once.
// Unless the JVM's files changed since the answer was taken, the failure is
// the program's as soon as anything shows that the JVM ran it: a compiler
// or a linter that fails costs one start of the JVM, not two.
bool Controller::mayNotHaveStarted(const SString& executable, const LaunchEnd& end) {
  if (recalledFilesChanged(executable)) {
    log("The files of the JVM at " + executable + " changed since its answer was taken from the store.", INFO);
    return true;
  }
  if (jvmMayNotHaveStarted(end)) return true;
  log("The launch with " + executable + " ended with status " + fromLong(end.status) +
          "; the JVM had started and reached the program, so the failure is the program's own and the stored "
          "answer stands.",
      INFO);
  return false;
}

// A launch with a JVM whose answer came from the store failed at once, and
// nothing shows that the JVM started. The store's key holds what makes a
// JVM run, but not everything (a system library, a file the key does not
// name): the answer is forgotten and the JVM is verified for real. Only
// when that fails too is the failure the JVM's rather than the wizard's.
bool Controller::stillVerifies(TagFile* description, const SString& home, const SString& executable) {
  log("The launch with " + executable + " failed at once; its answer came from the store of verified JVMs, so " +
          "the answer is forgotten and the JVM is verified again.",
      WARNING);
  forgetAnswers(executable);
  SString classPath, className;
  runFiles().getJVMFiles().getVerifyClass(classPath, className);
  JVMFile jvm(description, runContext());
  // The home is the one the launch just ran: the search or the user chose
  // it, and judged it as it chose.
  std::unique_ptr<JVMMatch> match(jvm.verifyAt(home, classPath, className, HomeOrigin::kNamed));
  if (match) {
    log("The JVM at " + home + " still verifies: the failure is the application's own.", INFO);
    return true;
  }
  log("The JVM at " + home + " no longer verifies: the search is made again.", WARNING);
  return false;
}

int Controller::launchInternal(long fileId, short seconds) {
  LaunchScript* script = runFiles().getLaunchScript();
  FileIndexEntry* entry = launcherFile().findEntryById(fileId);
  if (!script || !entry || entry->getType() != FT_JVM || !entry->getTagFile()) {
    log("Unable to launch the internal launch script with the internal JVM file. Either the launch script or the JVM "
        "file is missing from the launcher.",
        ERROR);
    return -1;
  }
  withoutJvm_ = false;
  return launchWith(script, entry->getTagFile(), seconds);
}

void Controller::executeEmbeddedLauncher(long position) {
  FileIndexEntry* entry = launcherFile().getEntry(static_cast<int>(position));
  if (!entry || entry->getType() != FT_LAUNCHER) {
    log("Unable to execute the embedded launcher.", ERROR);
    return;
  }
  // The embedded launcher removes its own file and directory when it ends
  // (it is started with -lx:orig), so the directory leaves our clean-up list.
  UseExecutableTempDirectory("the embedded launcher runs from it");
  SString directory = CreateTempDir();
  UnregisterTempDir(directory);
  SString program;
  int startError = 0;
  try {
    program = launcherFile().extract(entry, directory);
    // The program is the first word, which the splitter takes up to the
    // next double quote as it is.
    if (program.find('"') != SString::npos) {
      throw LauncherException(FormatMessage(MSG_LAUNCHER_NOT_STARTED, program.c_str()) + " " + std::strerror(EINVAL));
    }
    SString command = "\"" + program + "\" -lx:orig " + quoteForSplitter(settings().launcherPath);
    for (int i = 0; i < settings().allArgs.count(); ++i) command += " " + quoteForSplitter(settings().allArgs.get(i));
    // The embedded launcher deletes its directory only when it can tell
    // that this launcher handed it over.
    int proof = OfferHandOver(directory);
    startError = errno;
    if (proof >= 0) {
      // The dotted line of this launcher ends here; the next one starts its own.
      SetProgress(100);
      EndProgressLine();
      std::fflush(stdout);
      runCommand(command, CommandOptions().replacingTheLauncher());
      startError = errno;
      WithdrawHandOver(proof);
    }
  } catch (...) {
    RemovePath(directory);
    throw;
  }
  // Still here: the process image was not replaced. The run cannot go on
  // as the packager meant it, so it fails (after its clean-up).
  RemovePath(directory);
  throw LauncherException(FormatMessage(MSG_LAUNCHER_NOT_STARTED, program.c_str()) + " " + std::strerror(startError));
}
