// The search of descriptions that say which Java versions they accept
// (JAVA_VERSION), how to choose among them (PREFER) or that the usual
// install places count (KNOWN_LOCATIONS). A user's own choice comes first:
// the java home option (tried by JVMFiles before any description), then
// the PLATFORM_HINT variables in order, so that a matching JAVA_HOME wins
// over a newer Java elsewhere. Every other candidate (path hints, PATH,
// known locations) is gathered, each real java once, and ordered newest
// first by its release file, so that the best of many installed JVMs is
// found by starting one of them: the release file rules out the versions
// outside the range, and the first JVM started is the newest in it.
#include <limits.h>
#include <stdlib.h>

#include <algorithm>
#include <vector>

#include "base/LauncherException.h"
#include "base/Log.h"
#include "base/Settings.h"
#include "fsutil/Platform.h"
#include "jvm/HomePatterns.h"
#include "jvm/JVMFile.h"
#include "jvm/JVMMatch.h"
#include "jvm/ReleaseFile.h"
#include "tagfile/TagFile.h"

namespace {

struct Candidate {
  SString home;
  SString source;  // where it came from, for the log
  bool insideLauncherDir = false;
  bool hasVersion = false;
  JavaVersion version;
};

SString withSlash(const SString& path) { return endsWith(path, "/") != SString::npos ? path : path + "/"; }

// Two candidates are one when their java is the same file: /usr/bin's java
// is often a link into a home under /usr/lib/jvm.
SString identityOf(const SString& home, const SString& exe) {
  char real[PATH_MAX];
  if (realpath((withSlash(home) + exe).c_str(), real)) return real;
  return withSlash(home) + exe;
}

class CandidateList {
 public:
  explicit CandidateList(const SString& exe) : exe_(exe) {}

  void markTried(const SString& home) { seen_.push_back(identityOf(home, exe_)); }

  // Candidates whose java is missing are kept only when asked for (a hint
  // the packager wrote is reported as not present).
  void add(const SString& home, const SString& source, bool insideLauncherDir, bool keepMissing) {
    if (home.empty()) return;
    if (!keepMissing && !FileExists(withSlash(home) + exe_)) return;
    SString identity = identityOf(home, exe_);
    if (std::find(seen_.begin(), seen_.end(), identity) != seen_.end()) return;
    seen_.push_back(identity);
    Candidate candidate;
    candidate.home = home;
    candidate.source = source;
    candidate.insideLauncherDir = insideLauncherDir;
    SString release;
    candidate.hasVersion = readHomeReleaseVersion(home, exe_, release) && parseJavaVersion(release, candidate.version);
    candidates_.push_back(candidate);
  }

  // Newest first; homes without a readable release file keep their order
  // after those with one.
  void sortNewestFirst() {
    std::stable_sort(candidates_.begin(), candidates_.end(), [](const Candidate& a, const Candidate& b) {
      if (a.hasVersion != b.hasVersion) return a.hasVersion;
      return a.hasVersion && compareJavaVersions(a.version, b.version) > 0;
    });
  }

  const std::vector<Candidate>& candidates() const { return candidates_; }

 private:
  SString exe_;
  std::vector<SString> seen_;
  std::vector<Candidate> candidates_;
};

}  // namespace

bool JVMFile::usesBestMatchSearch() const {
  return tagFile_->getValueCount("JAVA_VERSION") > 0 || tagFile_->getValueCount("PREFER") > 0 ||
         tagFile_->getValueCount("KNOWN_LOCATIONS") > 0;
}

bool JVMFile::requiredVersionRange(JavaVersionRange& range) const {
  if (tagFile_->getValueCount("JAVA_VERSION") == 0) return false;
  SString why;
  if (!range.parse(tagFile_->getValue("JAVA_VERSION", 0), why)) {
    throw LauncherException("The JVM description " + tagFile_->getFileName() + " has an invalid JAVA_VERSION: " + why);
  }
  return true;
}

bool JVMFile::newestFirst() const {
  if (tagFile_->getValueCount("PREFER") == 0) return true;
  const SString prefer = trim(tagFile_->getValue("PREFER", 0), kWhiteSpace);
  if (prefer == "newest") return true;
  if (prefer == "first") return false;
  throw LauncherException("The JVM description " + tagFile_->getFileName() + " has an invalid PREFER: \"" + prefer +
                          "\" (the values are newest and first)");
}

void JVMFile::checkSearchKeys() const {
  JavaVersionRange range;
  requiredVersionRange(range);
  newestFirst();
}

JVMMatch* JVMFile::searchBestMatch(const SString& classPath, const SString& className) {
  if (!canVerify(nullptr)) return nullptr;
  const bool sorted = newestFirst();
  const SString desc = tagFile_->getValue("DESC", 0);
  const SString exe = getJvmExe();
  log("Searching for " + desc + (sorted ? ", newest first," : ", in the order of its hints,") +
          " using platform hints, path hints, PATH" +
          (tagFile_->getBool("KNOWN_LOCATIONS", false) ? SString(" and the known locations") : SString()),
      INFO);
  CandidateList others(exe);

  // The user's own choice, in the order given.
  const StringDeque* variables = tagFile_->findValues("PLATFORM_HINT");
  for (int i = 0; variables && i < variables->count(); ++i) {
    const SString& variable = variables->get(i);
    if (variable.empty()) continue;
    StringDeque homes;
    SplitEnvList(homes, variable.c_str());
    for (int j = 0; j < homes.count(); ++j) {
      const SString& home = homes.get(j);
      if (home.empty()) continue;
      log("Checking JVM at " + home + " which was resolved from platform hint " + variable, INFO);
      others.markTried(home);
      if (JVMMatch* match = verifyAt(home, classPath, className)) return match;
    }
  }

  const StringDeque* hints = tagFile_->findValues("PATH_HINT");
  for (int i = 0; hints && i < hints->count(); ++i) {
    const SString& hint = hints->get(i);
    const bool relative = !hint.empty() && hint[0] != '/' && hint[0] != '~';
    SString pattern = hint;
    if (relative) {
      const SString launcherDir = origLauncherDir();
      pattern = launcherDir.empty() ? hint : withSlash(launcherDir) + hint;
    }
    StringDeque homes;
    expandHomePattern(pattern, homes);
    for (int j = 0; j < homes.count(); ++j) {
      others.add(homes.get(j), "path hint " + hint, relative, !hasHomePattern(hint));
    }
  }

  // A PATH entry /opt/x/bin names the home /opt/x/ for JVM_EXE bin/java.
  SString::size_type lastSlash = exe.rfind('/');
  const SString exeDirectory = lastSlash == SString::npos ? SString() : exe.substr(0, lastSlash + 1);
  StringDeque pathDirs;
  GetPathDirs(pathDirs);
  for (int i = 0; i < pathDirs.count(); ++i) {
    const SString& piece = pathDirs.get(i);
    if (piece.empty()) continue;
    SString home = piece;
    if (!exeDirectory.empty()) {
      home = withSlash(home);
      SString::size_type cut = endsWith(home, exeDirectory.c_str());
      if (cut != SString::npos) home = home.substr(0, cut);
    }
    others.add(home, "the platform JVM path " + piece, false, false);
  }

  if (tagFile_->getBool("KNOWN_LOCATIONS", false)) {
    StringDeque homes;
    knownLocationHomes(exe, homes);
    for (int i = 0; i < homes.count(); ++i) others.add(homes.get(i), "the known locations", false, false);
  }

  if (sorted) others.sortNewestFirst();
  for (const Candidate& candidate : others.candidates()) {
    log("Checking JVM at " + candidate.home + " which was resolved from " + candidate.source, INFO);
    if (JVMMatch* match = verifyAt(candidate.home, classPath, className)) {
      if (candidate.insideLauncherDir) match->setTemp();
      return match;
    }
  }
  return nullptr;
}

JVMMatch* JVMFile::verifyPatternHint(const SString& hint, const SString& classPath, const SString& className) {
  const bool relative = hint[0] != '/' && hint[0] != '~';
  const SString launcherDir = origLauncherDir();
  const SString pattern = relative && !launcherDir.empty() ? withSlash(launcherDir) + hint : hint;
  StringDeque homes;
  expandHomePattern(pattern, homes);
  CandidateList matches(getJvmExe());
  for (int i = 0; i < homes.count(); ++i) matches.add(homes.get(i), "path hint " + hint, relative, true);
  matches.sortNewestFirst();
  for (const Candidate& candidate : matches.candidates()) {
    log("Checking path hint " + candidate.home + " which was resolved from " + hint, INFO);
    if (JVMMatch* match = verifyAt(candidate.home, classPath, className)) {
      if (relative) match->setTemp();
      return match;
    }
  }
  return nullptr;
}
