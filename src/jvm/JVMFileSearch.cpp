// The search half of JVMFile: where a description's hints say a JVM may
// live, and the verification that decides whether the JVM found there is
// one the description accepts.
#include <cstdlib>

#include "base/Deque.h"
#include "base/LauncherException.h"
#include "base/Log.h"
#include "base/Settings.h"
#include "fsutil/Platform.h"
#include "jvm/JVMFile.h"
#include "jvm/JVMMatch.h"
#include "jvm/VerificationOutput.h"
#include "jvm/VerificationRunner.h"
#include "messages/Messages.h"
#include "tagfile/TagFile.h"

namespace {

const int kDefaultVerifyTimeoutSeconds = 60;
// Progress units: a candidate without an executable costs little, a JVM
// start much more.
const int kMissingExecutableProgress = 2;
const int kVerificationProgress = 6;

SString withTrailingSeparator(const SString& path) {
  SString separator = FileSeparator();
  if (endsWith(path, separator.c_str()) != SString::npos) return path;
  return path + separator;
}

// A verification run must end: a candidate that hangs would otherwise hold
// the launcher for ever. LX_VERIFY_TIMEOUT (whole seconds, at most a day)
// overrides the limit; anything but a positive number keeps the default.
int verifyTimeoutSeconds() {
  const long kMaxSeconds = 86400;
  SString value = GetEnv("LX_VERIFY_TIMEOUT");
  long seconds = 0;
  if (value.empty() || !toLong(value, seconds) || seconds <= 0) return kDefaultVerifyTimeoutSeconds;
  return static_cast<int>(seconds < kMaxSeconds ? seconds : kMaxSeconds);
}

// The home is put into a shell command inside double quotes and passes
// through the launch script's macro expansion first. A path found on disk
// that holds a character either of them would interpret could run
// arbitrary commands or break the expansion, so such a home is not run.
bool isSafeInCommand(const SString& home) { return home.find_first_of("\"$`\\%@#\n") == SString::npos; }

}  // namespace

JVMMatch* JVMFile::verifyAt(const SString& home, const SString& classPath, const SString& className) {
  const SString exe = getJvmExe();
  if (exe.empty() || home.empty()) return nullptr;
  const SString desc = tagFile_->getValue("DESC", 0);
  StepScope step(STEP_VERIFYING, desc.c_str());

  const SString executable = withTrailingSeparator(home) + exe;
  log("Verifying JVM at " + executable + "\n   for JVM: " + desc, INFO);
  if (!FileExists(executable)) {
    log(executable + " does not exist", INFO);
    ProgressTick(kMissingExecutableProgress);
    return nullptr;
  }
  if (!isSafeInCommand(home)) {
    log("Not verifying the JVM at " + home +
            " because its path holds a character that the shell or the launch script would interpret.",
        WARNING);
    return nullptr;
  }
  if (!runVerification(home, classPath, className)) return nullptr;
  log("Found matching JVM at " + home, INFO);
  return new JVMMatch(home, tagFile_);
}

bool JVMFile::runVerification(const SString& home, const SString& classPath, const SString& className) {
  tagFile_->setValue("JVM_HOME", home);

  // A quoted class path is quoted once more for the %CP% function's
  // argument reader, which turns """x""" back into "x".
  SString classPathArgument = classPath;
  if (classPath.length() >= 2 && classPath[0] == '"' && classPath[classPath.length() - 1] == '"') {
    classPathArgument = "\"\"" + classPath + "\"\"";
  }
  SString command = "\"" + withTrailingSeparator(home) + "@JVM_EXE@\" %CP%(" + classPathArgument + ") " + className;

  StringPairPtrDeque properties;
  const StringDeque* required = tagFile_->findValues("JVM_PROPERTIES");
  for (int i = 0; required && i < required->count(); ++i) {
    const SString& setting = required->get(i);
    SString::size_type equals = setting.find('=');
    if (equals == SString::npos) {
      log("Invalid JVM_PROPERTIES setting (" + setting + ") in JVM File ", WARNING);
      continue;
    }
    StringPair* property = new StringPair;
    property->first = trim(setting.substr(0, equals), kWhiteSpace);
    property->second = trim(setting.substr(equals + 1), kWhiteSpace);
    command += " " + property->first;
    properties.add(property);
  }

  VerificationRunner* runner = verificationRunner();
  if (runner == nullptr) throw LauncherException("No way to run a JVM verification was set up.");
  const int timeLimit = verifyTimeoutSeconds();
  VerificationRun run = runner->run(command, this, timeLimit);
  if (run.timedOut) {
    log("Verification of " + withTrailingSeparator(home) + getJvmExe() + " did not end within " + fromLong(timeLimit) +
            " second(s) and was stopped.",
        WARNING);
    ProgressTick(kVerificationProgress);
    return false;
  }
  bool matches = checkVerificationOutput(run.output, properties);
  ProgressTick(kVerificationProgress);
  return matches;
}

bool JVMFile::canVerify(const char* searchKind) {
  if (tagFile_->getValue("JVM_PROPERTIES", 0).empty()) {
    log("Unable to verify " + tagFile_->getFileName() + " because the JVM_PROPERTIES tag was not specified.", WARNING);
    return false;
  }
  if (searchKind) log("Searching for " + tagFile_->getValue("DESC", 0) + searchKind, INFO);
  return true;
}

JVMMatch* JVMFile::searchPlatformHints(const SString& classPath, const SString& className) {
  if (!canVerify(" using platform hints")) return nullptr;
  const StringDeque* hints = tagFile_->findValues("PLATFORM_HINT");
  for (int i = 0; hints && i < hints->count(); ++i) {
    const SString& variable = hints->get(i);
    if (variable.empty()) continue;
    StringDeque homes;
    SplitEnvList(homes, variable.c_str());
    for (int j = 0; j < homes.count(); ++j) {
      const SString& home = homes.get(j);
      if (home.empty()) continue;
      log("Checking JVM at " + home + " which was resolved from platform hint " + variable, INFO);
      if (JVMMatch* match = verifyAt(home, classPath, className)) return match;
    }
  }
  return nullptr;
}

JVMMatch* JVMFile::searchPathHints(const SString& classPath, const SString& className) {
  if (!canVerify(" using path hints")) return nullptr;
  const SString separator = FileSeparator();
  StringDeque roots;
  AddRootDirs(roots);
  const StringDeque* hints = tagFile_->findValues("PATH_HINT");
  for (int i = 0; hints && i < hints->count(); ++i) {
    const SString& hint = hints->get(i);
    if (hint.compare(0, separator.length(), separator) == 0) {
      for (int r = 0; r < roots.count(); ++r) {
        SString candidate = withTrailingSeparator(roots.get(r)) + hint.substr(separator.length());
        log("Checking path hint " + candidate, INFO);
        if (JVMMatch* match = verifyAt(candidate, classPath, className)) return match;
      }
      continue;
    }
    // A relative hint names a JVM shipped beside the launcher.
    SString launcherDir = origLauncherDir();
    SString candidate = launcherDir.empty() ? hint : withTrailingSeparator(launcherDir) + hint;
    if (JVMMatch* match = verifyAt(candidate, classPath, className)) {
      match->setTemp();
      return match;
    }
  }
  return nullptr;
}

JVMMatch* JVMFile::searchPlatformPath(const SString& classPath, const SString& className) {
  if (!canVerify(" using platform specific JVM Path hints")) return nullptr;
  const SString separator = FileSeparator();
  // For JVM_EXE jre/bin/java a PATH entry /opt/x/jre/bin names the home
  // /opt/x/.
  const SString exe = getJvmExe();
  SString::size_type lastSeparator = exe.rfind(separator);
  SString exeDirectory = lastSeparator == SString::npos ? SString() : exe.substr(0, lastSeparator + 1);
  StringDeque pathDirs;
  GetPathDirs(pathDirs);
  for (int i = 0; i < pathDirs.count(); ++i) {
    const SString& piece = pathDirs.get(i);
    if (piece.empty()) continue;
    SString candidate = piece;
    if (!exeDirectory.empty()) {
      candidate = withTrailingSeparator(candidate);
      SString::size_type cut = endsWith(candidate, exeDirectory.c_str());
      if (cut != SString::npos) candidate = candidate.substr(0, cut);
    }
    log("Checking JVM at " + candidate + " which was resolved from the platform JVM path " + piece, INFO);
    if (JVMMatch* match = verifyAt(candidate, classPath, className)) return match;
  }
  return nullptr;
}

JVMMatch* JVMFile::verifyHome(const SString& classPath, const SString& className) {
  if (!canVerify(nullptr)) return nullptr;
  return verifyAt(tagFile_->getValue("JVM_HOME", 0), classPath, className);
}
