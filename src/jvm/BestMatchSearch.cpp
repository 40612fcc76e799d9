// The search of descriptions that say which Java versions they accept
// (JAVA_VERSION), how to choose among them (PREFER) or that the usual
// install places count (KNOWN_LOCATIONS). A user's own choice comes first:
// the java home option (tried by JVMFiles before any description), then
// the PLATFORM_HINT variables in order, so that a matching JAVA_HOME wins
// over a newer Java elsewhere. Every other candidate (path hints, PATH,
// known locations) is gathered, each real java once, and ordered newest
// first by its release file, so that the best of many installed JVMs is
// found by starting one of them: the release file rules out the versions
// outside the range, and the first JVM started is the newest in it. A
// release file is anyone's to write where others can write: the homes of
// the known locations and of pattern hints are therefore marked as found
// by the launcher, and verifyAt starts none that others could have planted.
#include <limits.h>
#include <stdlib.h>

#include "base/LauncherException.h"
#include "base/Log.h"
#include "fsutil/Platform.h"
#include "jvm/FoundHomeTrust.h"
#include "jvm/HomePatterns.h"
#include "jvm/JVMFile.h"
#include "jvm/JVMMatch.h"
#include "jvm/ReleaseFile.h"
#include "jvm/WindowingLibrary.h"
#include "tagfile/TagFile.h"

struct HomeCandidate {
  SString home;
  SString source;                          // where it came from, for the log
  HomeOrigin origin = HomeOrigin::kFound;  // judged unless a source says it was named
  bool insideLauncherDir = false;
  bool hasVersion = false;
  bool opensWindows = false;  // counted only when a display is there
  JavaVersion version;
};

namespace {

SString withSlash(const SString& path) { return endsWith(path, "/") != SString::npos ? path : path + "/"; }

// Two candidates are one when their java is the same file: /usr/bin's java
// is often a link into a home under /usr/lib/jvm.
SString identityOf(const SString& home, const SString& exe) {
  char real[PATH_MAX];
  if (realpath((withSlash(home) + exe).c_str(), real)) return real;
  return withSlash(home) + exe;
}

// On a desktop, JVMs that can open windows first, whatever their version;
// then newer first; homes without a readable release file after those with
// one.
bool comesBefore(const HomeCandidate& a, const HomeCandidate& b) {
  if (a.opensWindows != b.opensWindows) return a.opensWindows;
  if (a.hasVersion != b.hasVersion) return a.hasVersion;
  return a.hasVersion && compareJavaVersions(a.version, b.version) > 0;
}

}  // namespace

class HomeCandidates {
 public:
  HomeCandidates(const SString& exe, bool newestFirst)
      : exe_(exe), newestFirst_(newestFirst), display_(DisplayAvailable()) {}

  void markTried(const SString& home) { seen_.add(identityOf(home, exe_)); }

  // Candidates whose java is missing are kept only when asked for (a hint
  // the packager wrote is reported as not present). The list stays in
  // order: a new candidate goes behind every one that does not come after
  // it, so that equals keep the order they were found in.
  void add(const SString& home, const SString& source, HomeOrigin origin, bool insideLauncherDir, bool keepMissing) {
    if (home.empty()) return;
    if (!keepMissing && !FileExists(withSlash(home) + exe_)) return;
    SString identity = identityOf(home, exe_);
    for (int i = 0; i < seen_.count(); ++i) {
      if (seen_.get(i) == identity) return;
    }
    seen_.add(identity);
    HomeCandidate* candidate = new HomeCandidate;
    candidate->home = home;
    candidate->source = source;
    candidate->origin = origin;
    candidate->insideLauncherDir = insideLauncherDir;
    SString release;
    candidate->hasVersion =
        readHomeReleaseVersion(home, exe_, release) && parseJavaVersion(release, candidate->version);
    candidate->opensWindows = display_ && HomeCanOpenWindows(home);
    int at = candidates_.count();
    while (newestFirst_ && at > 0 && comesBefore(*candidate, *candidates_.get(at - 1))) --at;
    candidates_.insert(at == candidates_.count() ? -1 : at, candidate);  // -1: at the end
  }

  int count() const { return candidates_.count(); }
  const HomeCandidate& get(int i) const { return *candidates_.get(i); }

 private:
  SString exe_;
  bool newestFirst_;
  bool display_;
  StringDeque seen_;
  PtrDeque<HomeCandidate> candidates_;
};

namespace {

// Verifies the candidates in their order; the first that passes is the
// match.
JVMMatch* verifyInOrder(JVMFile& jvmFile, const HomeCandidates& candidates, const SString& classPath,
                        const SString& className) {
  for (int i = 0; i < candidates.count(); ++i) {
    const HomeCandidate& candidate = candidates.get(i);
    log("Checking JVM at " + candidate.home + " which was resolved from " + candidate.source, INFO);
    if (JVMMatch* match = jvmFile.verifyAt(candidate.home, classPath, className, candidate.origin)) {
      if (candidate.insideLauncherDir) match->setTemp();
      return match;
    }
  }
  return nullptr;
}

// A key the search cannot read is never taken for "anything".
[[noreturn]] void throwInvalidKey(const TagFile* tagFile, const char* key, const SString& why) {
  throw LauncherException("The JVM description " + tagFile->getFileName() + " has an invalid " + key + ": " + why);
}

bool readVersionRange(const TagFile* tagFile, JavaVersionRange& range) {
  if (tagFile->getValueCount("JAVA_VERSION") == 0) return false;
  SString why;
  if (!range.parse(tagFile->getValue("JAVA_VERSION", 0), why)) throwInvalidKey(tagFile, "JAVA_VERSION", why);
  return true;
}

bool readNewestFirst(const TagFile* tagFile) {
  if (tagFile->getValueCount("PREFER") == 0) return true;
  const SString prefer = trim(tagFile->getValue("PREFER", 0), kWhiteSpace);
  if (prefer == "newest") return true;
  if (prefer == "first") return false;
  throwInvalidKey(tagFile, "PREFER", "\"" + prefer + "\" (the values are newest and first)");
}

}  // namespace

void checkJvmSearchKeys(const TagFile* tagFile) {
  JavaVersionRange range;
  readVersionRange(tagFile, range);
  readNewestFirst(tagFile);
}

bool JVMFile::usesBestMatchSearch() const {
  return tagFile_->getValueCount("JAVA_VERSION") > 0 || tagFile_->getValueCount("PREFER") > 0 ||
         tagFile_->getValueCount("KNOWN_LOCATIONS") > 0;
}

bool JVMFile::requiredVersionRange(JavaVersionRange& range) const { return readVersionRange(tagFile_, range); }

bool JVMFile::newestFirst() const { return readNewestFirst(tagFile_); }

void JVMFile::checkSearchKeys() const { checkJvmSearchKeys(tagFile_); }

JVMMatch* JVMFile::searchBestMatch(const SString& classPath, const SString& className) {
  // The user's own choice first, in the order given.
  StringDeque tried;
  if (JVMMatch* match = searchPlatformHints(classPath, className, &tried)) return match;
  if (!canVerify(nullptr)) return nullptr;
  const bool sorted = newestFirst();
  const bool knownLocations = tagFile_->getBool("KNOWN_LOCATIONS", false);
  log("Searching for " + tagFile_->getValue("DESC", 0) + " using path hints, PATH" +
          (knownLocations ? " and the known locations" : ""),
      INFO);
  const SString exe = getJvmExe();
  HomeCandidates others(exe, sorted);
  for (int i = 0; i < tried.count(); ++i) others.markTried(tried.get(i));

  addPathHints(others);
  // The known locations before PATH: of a JDK that both reach (/usr/bin's
  // java is a link into /usr/lib/jvm), the first name found is kept, and
  // the wizard is better off with the JDK's own home than with /usr/.
  if (knownLocations) {
    StringDeque homes;
    knownLocationHomes(exe, homes);
    for (int i = 0; i < homes.count(); ++i) {
      others.add(homes.get(i), "the known locations", HomeOrigin::kFound, false, false);
    }
  }
  StringDeque pathDirs;
  GetPathDirs(pathDirs);
  for (int i = 0; i < pathDirs.count(); ++i) {
    const SString& piece = pathDirs.get(i);
    if (!piece.empty()) {
      others.add(homeOfPathEntry(piece), "the platform JVM path " + piece, HomeOrigin::kNamed, false, false);
    }
  }
  return verifyInOrder(*this, others, classPath, className);
}

// Homes of hints without a pattern are kept when they lack the java, so
// the search summary names them as not present. A pattern names no home:
// what it matches the launcher found by itself, and it is judged as such.
void JVMFile::addPathHints(HomeCandidates& candidates, int only) {
  const StringDeque* hints = tagFile_->findValues("PATH_HINT");
  for (int i = 0; hints && i < hints->count(); ++i) {
    if (only >= 0 && i != only) continue;
    const SString& hint = hints->get(i);
    const bool relative = !hint.empty() && hint[0] != '/' && hint[0] != '~';
    const SString launcherDir = context_.paths.origLauncherDir();
    StringDeque homes;
    expandHomePattern(relative && !launcherDir.empty() ? withSlash(launcherDir) + hint : hint, homes);
    const bool pattern = hasHomePattern(hint);
    for (int j = 0; j < homes.count(); ++j) {
      candidates.add(homes.get(j), "path hint " + hint, pattern ? HomeOrigin::kFound : HomeOrigin::kNamed, relative,
                     !pattern);
    }
  }
}

JVMMatch* JVMFile::verifyPatternHint(int hintIndex, const SString& classPath, const SString& className) {
  HomeCandidates matches(getJvmExe(), true);
  addPathHints(matches, hintIndex);
  return verifyInOrder(*this, matches, classPath, className);
}
