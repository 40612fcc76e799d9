// The search half of JVMFile: where a description's hints say a JVM may
// live, and the verification that decides whether the JVM found there is
// one the description accepts.
#include <cstdlib>
#include <optional>

#include "base/Deque.h"
#include "base/LauncherException.h"
#include "base/Log.h"
#include "fsutil/CommandSafePath.h"
#include "fsutil/Platform.h"
#include "jvm/ForeignHome.h"
#include "jvm/FoundHomeTrust.h"
#include "jvm/HomePatterns.h"
#include "jvm/JVMFile.h"
#include "jvm/JVMMatch.h"
#include "jvm/ReleaseFile.h"
#include "jvm/VerificationOutput.h"
#include "jvm/VerificationRunner.h"
#include "jvm/VerifiedJvmStore.h"
#include "jvm/WindowingLibrary.h"
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

}  // namespace

JVMMatch* JVMFile::verifyAt(const SString& home, const SString& classPath, const SString& className,
                            HomeOrigin origin) {
  const SString exe = getJvmExe();
  if (exe.empty() || home.empty()) return nullptr;
  const SString desc = tagFile_->getValue("DESC", 0);

  const SString executable = withTrailingSeparator(home) + exe;
  log("Verifying JVM at " + executable + "\n   for JVM: " + desc, INFO);
  if (!FileExists(executable)) {
    log(executable + " does not exist", INFO);
    reportCandidate(executable, "not present");
    ProgressTick(kMissingExecutableProgress);
    return nullptr;
  }
  if (origin == HomeOrigin::kFound) {
    const SString distrust = distrustReason(executable);
    if (!distrust.empty()) {
      log("Not starting the JVM at " + home + ", which the launcher found by itself: " + distrust, INFO);
      passOver(home, executable, "not run, " + distrust, Rejection::kNotTrusted);
      ProgressTick(kMissingExecutableProgress);
      return nullptr;
    }
  }
  // The step names the description, so one line per search says it all;
  // one per candidate filled the console.
  std::optional<StepScope> step;
  if (!verifyingShown_) {
    verifyingShown_ = true;
    step.emplace(STEP_VERIFYING, desc.c_str());
  }
  const SString foreign = whyHomeCannotRunHere(home, executable);
  if (!foreign.empty()) {
    log("Not starting the JVM at " + home + ": " + foreign, INFO);
    passOver(home, executable, "not run, " + foreign, Rejection::kOtherMachine);
    ProgressTick(kMissingExecutableProgress);
    return nullptr;
  }
  if (!IsCommandSafePath(home)) {
    log("Not verifying the JVM at " + home +
            " because its path holds a character that the shell or the launch script would interpret.",
        WARNING);
    passOver(home, executable, "not run, its path holds a character the shell would interpret", Rejection::kUnsafePath);
    return nullptr;
  }
  if (!runVerification(home, classPath, className)) return nullptr;
  log("Found matching JVM at " + home, INFO);
  reportCandidate(executable, "matched");
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

  // The range is checked against the java.version the JVM reports; a
  // description that does not ask for it otherwise gets it asked.
  JavaVersionRange range;
  const bool ranged = requiredVersionRange(range);
  int versionLine = -1;
  for (int i = 0; ranged && i < properties.count() && versionLine < 0; ++i) {
    if (properties.get(i)->first == "java.version") versionLine = i;
  }
  if (ranged && versionLine < 0) {
    StringPair* property = new StringPair;
    property->first = "java.version";
    property->second = "...";
    command += " java.version";
    versionLine = properties.count();
    properties.add(property);
  }

  const SString executable = withTrailingSeparator(home) + getJvmExe();
  if (ruledOutByReleaseFile(home, executable, properties, ranged ? &range : nullptr)) {
    ProgressTick(kMissingExecutableProgress);
    return false;
  }
  // A program that opens windows dies on a headless JVM with an error its
  // user can do nothing about; its files tell before it is started. Without
  // a display no JVM opens windows, and the program may have a way without.
  if (needsWindows() && DisplayAvailable() && !HomeCanOpenWindows(home)) {
    log("Not starting the JVM at " + home +
            ": the program opens windows and this JVM cannot (it has no libawt_xawt.so), while a display is set",
        INFO);
    passOver(home, executable, "not run, headless while a display is set", Rejection::kHeadless);
    ProgressTick(kMissingExecutableProgress);
    return false;
  }
  SString output;
  bool answered = runOrRecall(command, home, executable, classPath, className, properties, output);
  ProgressTick(kVerificationProgress);
  if (!answered) return false;
  SString why;
  if (checkVerificationOutput(output, properties, &why)) {
    if (!ranged) return true;
    const SString reported = reportedPropertyValue(output, versionLine);
    if (range.contains(reported)) return true;
    why = "java.version is " + reported + ", required JAVA_VERSION " + range.text();
    log("No match at " + executable + ": " + why, INFO);
    passOverVersion(home, executable, why, range, reported);
    return false;
  }
  log("No match at " + executable + ": " + why, INFO);
  // Without a whole answer the JVM did not start (or died at once); with
  // one it lacks a property the description requires.
  SString answer;
  const bool wholeAnswer = verificationAnswer(output, properties.count(), answer);
  passOver(home, executable, why, wholeAnswer ? Rejection::kUnfit : Rejection::kNotStarted);
  return false;
}

void JVMFile::passOverVersion(const SString& home, const SString& executable, const SString& outcome,
                              const JavaVersionRange& range, const SString& version) {
  JavaVersion parsed;
  if (!parseJavaVersion(version, parsed)) {
    passOver(home, executable, outcome, Rejection::kUnfit);
    return;
  }
  passOver(home, executable, outcome, range.compareWith(parsed) < 0 ? Rejection::kTooOld : Rejection::kTooNew,
           range.versionInWords(version));
}

// Only java.version has a counterpart in the release file; any other
// requirement, or a release file without a version, leaves it to the JVM.
// A JAVA_VERSION range is judged by the release file of the home the java
// really lies in (see readHomeReleaseVersion).
bool JVMFile::ruledOutByReleaseFile(const SString& home, const SString& executable,
                                    const StringPairPtrDeque& properties, const JavaVersionRange* range) {
  SString found, required;
  if (!(range ? readHomeReleaseVersion(home, getJvmExe(), found) : readReleaseJavaVersion(home, found))) return false;
  JavaVersion version;
  const bool outsideRange = range && parseJavaVersion(found, version) && !range->contains(version);
  if (outsideRange) required = "JAVA_VERSION " + range->text();
  for (int i = 0; i < properties.count() && required.empty(); ++i) {
    const StringPair* property = properties.get(i);
    if (property->first == "java.version" && releaseVersionRulesOut(found, property->second)) {
      required = "java.version " + property->second;
    }
  }
  if (required.empty()) return false;
  log("Skipping " + executable + ": its release file gives JAVA_VERSION " + found + ", the description requires " +
          required,
      INFO);
  const SString outcome = "release file gives JAVA_VERSION " + found;
  if (outsideRange) {
    passOverVersion(home, executable, outcome, *range, found);
  } else {
    passOver(home, executable, outcome, Rejection::kUnfit);
  }
  return true;
}

// Takes the answer from the store of verified JVMs when it has one for
// exactly this java file and verification, otherwise runs the command and
// stores a complete answer. False when the run gave no usable output.
bool JVMFile::runOrRecall(const SString& command, const SString& home, const SString& executable,
                          const SString& classPath, const SString& className, const StringPairPtrDeque& properties,
                          SString& output) {
  VerificationRunner& runner = context_.verification;
  VerificationKey key;
  const bool keyed = verifiedJvmStoreEnabled() && !runner.classPathHasOtherEntries(*this) &&
                     makeVerificationKey(executable, classPath, className, properties, verificationContext(), key);
  if (keyed && findStoredAnswer(key, output)) {
    log("Took the answer for " + executable + " from the store of verified JVMs " + verifiedJvmStorePath() +
            " instead of starting it",
        INFO);
    return true;
  }

  const int timeLimit = verifyTimeoutSeconds();
  VerificationRun run = runner.run(command, *this, timeLimit);
  if (run.timedOut) {
    log("Verification of " + executable + " did not end within " + fromLong(timeLimit) + " second(s) and was stopped.",
        WARNING);
    passOver(home, executable, "stopped at the time limit of " + fromLong(timeLimit) + " second(s)",
             Rejection::kNotStarted);
    return false;
  }
  if (run.outputExceeded) {
    log("Verification of " + executable + " printed more than " +
            fromLong(static_cast<long>(kMostVerificationOutputBytes)) + " bytes and was stopped.",
        WARNING);
    passOver(home, executable, "stopped for printing too much", Rejection::kNotStarted);
    return false;
  }
  output = run.output;
  SString answer;
  if (keyed && verificationAnswer(output, properties.count(), answer)) storeAnswer(key, answer);
  return true;
}

// Settings that reach the JVM through the environment can change what it
// reports, so an answer holds only for the same ones.
SString JVMFile::verificationContext() const {
  static const char* const kJvmVariables[] = {"JAVA_TOOL_OPTIONS", "JDK_JAVA_OPTIONS", "_JAVA_OPTIONS"};
  SString context;
  for (const char* name : kJvmVariables) context += SString(name) + "=" + GetEnv(name) + "\n";
  for (const char* tag : {"SET_ENV_FOR_WIZARD", "JVM_CLASSPATH"}) {
    for (int i = 0; i < tagFile_->getValueCount(tag); ++i) {
      context += SString(tag) + ": " + tagFile_->getValue(tag, static_cast<unsigned>(i)) + "\n";
    }
  }
  return context;
}

void JVMFile::startSearchReport() {
  candidateReport_.removeAll();
  unreportedCandidates_ = 0;
  rejected_.clear();
  verifyingShown_ = false;
}

void JVMFile::reportCandidate(const SString& executable, const SString& outcome) {
  // A machine-wide walk can find hundreds; the summary is one line.
  const int kMostReported = 20;
  const SString prefix = executable + ": ";
  for (int i = 0; i < candidateReport_.count(); ++i) {
    if (candidateReport_.get(i).compare(0, prefix.length(), prefix) == 0) return;
  }
  if (candidateReport_.count() >= kMostReported) {
    ++unreportedCandidates_;
    return;
  }
  candidateReport_.add(prefix + outcome);
}

void JVMFile::passOver(const SString& home, const SString& executable, const SString& outcome, Rejection reason,
                       const SString& version) {
  reportCandidate(executable, outcome);
  rejected_.add(home, reason, version);
}

SString JVMFile::searchSummary() const {
  SString required;
  const StringDeque* properties = tagFile_->findValues("JVM_PROPERTIES");
  for (int i = 0; properties && i < properties->count(); ++i) {
    required += (i ? ", " : "") + trim(properties->get(i), kWhiteSpace);
  }
  const SString range = trim(tagFile_->getValue("JAVA_VERSION", 0), kWhiteSpace);
  if (!range.empty()) required += (required.empty() ? "" : ", ") + SString("JAVA_VERSION ") + range;
  SString summary = "No JVM matched " + tagFile_->getValue("DESC", 0) + " (" +
                    (required.empty() ? SString("no properties required") : "requires " + required) + "): ";
  if (candidateReport_.isEmpty()) return summary + "no candidate was found";
  summary += "the candidates had ";
  for (int i = 0; i < candidateReport_.count(); ++i) summary += (i ? "; " : "") + candidateReport_.get(i);
  if (unreportedCandidates_ > 0) summary += "; and " + fromLong(unreportedCandidates_) + " more";
  return summary;
}

bool JVMFile::canVerify(const char* searchKind) {
  if (tagFile_->getValue("JVM_PROPERTIES", 0).empty() && tagFile_->getValueCount("JAVA_VERSION") == 0) {
    log("Unable to verify " + tagFile_->getFileName() + " because the JVM_PROPERTIES tag was not specified.", WARNING);
    return false;
  }
  if (searchKind) log("Searching for " + tagFile_->getValue("DESC", 0) + searchKind, INFO);
  return true;
}

JVMMatch* JVMFile::searchPlatformHints(const SString& classPath, const SString& className, StringDeque* tried) {
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
      if (tried) tried->add(home);
      if (JVMMatch* match = verifyAt(home, classPath, className, HomeOrigin::kNamed)) return match;
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
    if (hasHomePattern(hint)) {
      if (JVMMatch* match = verifyPatternHint(i, classPath, className)) return match;
      continue;
    }
    if (hint.compare(0, separator.length(), separator) == 0) {
      for (int r = 0; r < roots.count(); ++r) {
        SString candidate = withTrailingSeparator(roots.get(r)) + hint.substr(separator.length());
        log("Checking path hint " + candidate, INFO);
        if (JVMMatch* match = verifyAt(candidate, classPath, className, HomeOrigin::kNamed)) return match;
      }
      continue;
    }
    // A relative hint names a JVM shipped beside the launcher.
    SString launcherDir = context_.paths.origLauncherDir();
    SString candidate = launcherDir.empty() ? hint : withTrailingSeparator(launcherDir) + hint;
    if (JVMMatch* match = verifyAt(candidate, classPath, className, HomeOrigin::kNamed)) {
      match->setTemp();
      return match;
    }
  }
  return nullptr;
}

SString JVMFile::homeOfPathEntry(const SString& directory) const {
  const SString separator = FileSeparator();
  const SString exe = getJvmExe();
  SString::size_type lastSeparator = exe.rfind(separator);
  if (lastSeparator == SString::npos) return directory;
  SString home = withTrailingSeparator(directory);
  SString::size_type cut = endsWith(home, exe.substr(0, lastSeparator + 1).c_str());
  return cut == SString::npos ? home : home.substr(0, cut);
}

JVMMatch* JVMFile::searchPlatformPath(const SString& classPath, const SString& className) {
  if (!canVerify(" using platform specific JVM Path hints")) return nullptr;
  StringDeque pathDirs;
  GetPathDirs(pathDirs);
  for (int i = 0; i < pathDirs.count(); ++i) {
    const SString& piece = pathDirs.get(i);
    if (piece.empty()) continue;
    SString candidate = homeOfPathEntry(piece);
    log("Checking JVM at " + candidate + " which was resolved from the platform JVM path " + piece, INFO);
    if (JVMMatch* match = verifyAt(candidate, classPath, className, HomeOrigin::kNamed)) return match;
  }
  return nullptr;
}

JVMMatch* JVMFile::verifyHome(const SString& classPath, const SString& className) {
  if (!canVerify(nullptr)) return nullptr;
  return verifyAt(tagFile_->getValue("JVM_HOME", 0), classPath, className, HomeOrigin::kNamed);
}
