#include "jvm/JVMFiles.h"

#include "archive/Extract.h"
#include "archive/FileIndexEntry.h"
#include "archive/LauncherFile.h"
#include "base/Log.h"
#include "fsutil/FileNavigator.h"
#include "fsutil/Platform.h"
#include "fsutil/TempFiles.h"
#include "jvm/FoundHomeTrust.h"
#include "jvm/JVMFile.h"
#include "messages/Messages.h"
#include "tagfile/TagFile.h"

JVMFiles::JVMFiles(const RunContext& context) : context_(context), stopAtFirst_(0) {}

JVMFiles::~JVMFiles() {}

void JVMFiles::addJVMFile(JVMFile* jvmFile) { jvmFiles_.add(jvmFile, true); }

void JVMFiles::setVerifyClass(const SString& classPath, const SString& className) {
  verifyClassPath_ = classPath;
  verifyClassName_ = className;
}

void JVMFiles::getVerifyClass(SString& classPath, SString& className) {
  prepareVerifyClass();
  classPath = verifyClassPath_;
  className = verifyClassName_;
}

void JVMFiles::prepareVerifyClass() {
  if (!verifyClassPath_.empty() || !verifyClassName_.empty()) return;
  LauncherFile& archive = context_.archive;
  SString extracted;
  for (int i = 0; i < archive.getEntryCount(); ++i) {
    FileIndexEntry* entry = archive.getEntry(i);
    if (entry && entry->getType() == FT_VERIFY) extracted = archive.extract(entry, CreateTempDir());
  }
  if (extracted.empty()) return;
  // Quoted, so that the verification command hands the path to the shell
  // as one word.
  verifyClassPath_ = "\"" + extracted + "\"";
  verifyClassName_ = "\"Verify\"";
}

void JVMFiles::startSearchReports() {
  for (int i = 0; i < count(); ++i) get(i)->startSearchReport();
}

// When nothing matched, the log ends with what each description needed and
// what its candidates had, so nobody has to piece it together.
void JVMFiles::logSearchSummaries() {
  for (int i = 0; i < count(); ++i) log(get(i)->searchSummary(), INFO);
}

// A malformed JAVA_VERSION or PREFER ends the search before anything is
// started, whichever description would have been reached.
void JVMFiles::checkSearchKeys() const {
  for (int i = 0; i < count(); ++i) get(i)->checkSearchKeys();
}

void JVMFiles::find(JVMMatchPtrDeque& matches) {
  checkSearchKeys();
  match_.reset();
  prepareVerifyClass();
  startSearchReports();

  const SString javaHome = context_.options.javaHome;
  if (!javaHome.empty()) {
    log("Checking user specified Java home directory => " + javaHome, INFO);
    for (int i = 0; i < count() && !match_; ++i) {
      match_.reset(get(i)->verifyAt(javaHome, verifyClassPath_, verifyClassName_, HomeOrigin::kNamed));
    }
  }

  bool searchAllRequested = false;
  if (!match_) {
    log("Initiating JVM search based on hints...", INFO);
    // A description that asks for the exhaustive search ends the hint
    // searches: the walk looks for every description's executable anyway.
    for (int i = 0; i < count() && !match_ && !searchAllRequested; ++i) {
      JVMFile* jvmFile = get(i);
      searchAllRequested = jvmFile->getSearchAll();
      SString desc = jvmFile->getTagFile()->getValue("DESC", 0);
      StepScope step(STEP_SEARCHING_FOR, desc.c_str());
      if (jvmFile->usesBestMatchSearch()) {
        match_.reset(jvmFile->searchBestMatch(verifyClassPath_, verifyClassName_));
        continue;
      }
      match_.reset(jvmFile->searchPlatformHints(verifyClassPath_, verifyClassName_));
      if (!match_) match_.reset(jvmFile->searchPathHints(verifyClassPath_, verifyClassName_));
      if (!match_) match_.reset(jvmFile->searchPlatformPath(verifyClassPath_, verifyClassName_));
    }
  }

  const int found = matches.count();
  if (!match_ && searchAllRequested) {
    stopAtFirst_ = 1;
    exhaustiveSearch(matches);
  }
  if (match_) matches.add(match_.release());
  if (matches.count() == found) logSearchSummaries();
}

void JVMFiles::searchAll(JVMMatchPtrDeque& matches, int stopAtFirst) {
  checkSearchKeys();
  match_.reset();
  prepareVerifyClass();
  startSearchReports();
  const int found = matches.count();
  stopAtFirst_ = stopAtFirst;
  exhaustiveSearch(matches);
  // With stopAtFirst a match may have been verified during the walk; it is
  // the caller's as much as those verified afterwards.
  if (match_) matches.add(match_.release());
  if (matches.count() == found) logSearchSummaries();
}

void JVMFiles::exhaustiveSearch(JVMMatchPtrDeque& matches) {
  unverified_.removeAll();
  homesTriedAtOnce_.removeAll();

  StringDeque names;
  for (int i = 0; i < count(); ++i) {
    SString exe = get(i)->getJvmExe();
    bool known = exe.empty();
    for (int j = 0; j < names.count() && !known; ++j) known = names.get(j) == exe;
    if (!known) names.add(exe);
  }

  StepScope step(STEP_SCANNING, "");
  log("Beginning exhaustive search", INFO);
  walkSearchRoots(names);
  if (!match_) {
    log("Processing unverified matches.\n", INFO);
    verifyUnverified(matches);
  }
}

void JVMFiles::walkSearchRoots(const StringDeque& names) {
  if (searchRoots_.isEmpty()) {
    SearchAllDisks(names, this);
    return;
  }
  for (int i = 0; i < searchRoots_.count(); ++i) {
    FindFiles finder(names, this);
    if (finder.navigate(searchRoots_.get(i)) != 0) return;
  }
}

void JVMFiles::verifyUnverified(JVMMatchPtrDeque& matches) {
  for (int i = 0; i < unverified_.count(); ++i) {
    UnverifiedJVMMatch* candidates = unverified_.get(i);
    const StringDeque& homes = candidates->getHomes();
    for (int j = 0; j < homes.count(); ++j) {
      JVMMatch* match =
          candidates->getJVMFile()->verifyAt(homes.get(j), verifyClassPath_, verifyClassName_, HomeOrigin::kFound);
      if (!match) continue;
      matches.add(match);
      if (stopAtFirst_) return;
    }
  }
}

// Whatever the walk finds, the launcher found by itself: verifyAt starts
// none that others could have planted (in /var/tmp, /dev/shm, a directory
// another user owns).
int JVMFiles::fileFound(const SString& path) {
  for (int i = 0; i < count() && !match_; ++i) {
    JVMFile* jvmFile = get(i);
    SString exe = jvmFile->getJvmExe();
    // The executable must make up whole path components: a home is a
    // directory, so the character before the executable is a separator.
    if (exe.empty() || path.length() <= exe.length()) continue;
    SString::size_type exeStart = endsWith(path, exe.c_str());
    if (exeStart == SString::npos || path[exeStart - 1] != '/') continue;
    SString home = path.substr(0, exeStart - 1);
    if (i == 0 && stopAtFirst_) {
      if (triedAtOnce(home)) continue;
      match_.reset(jvmFile->verifyAt(home, verifyClassPath_, verifyClassName_, HomeOrigin::kFound));
      if (match_) return 1;
    } else {
      addUnverified(jvmFile, home);
    }
  }
  return 0;
}

bool JVMFiles::triedAtOnce(const SString& home) {
  for (int i = 0; i < homesTriedAtOnce_.count(); ++i) {
    if (homesTriedAtOnce_.get(i) == home) return true;
  }
  homesTriedAtOnce_.add(home);
  return false;
}

void JVMFiles::addUnverified(JVMFile* jvmFile, const SString& home) {
  for (int i = 0; i < unverified_.count(); ++i) {
    UnverifiedJVMMatch* candidates = unverified_.get(i);
    if (candidates->getJVMFile() == jvmFile) {
      candidates->addHome(home);
      return;
    }
  }
  unverified_.add(new UnverifiedJVMMatch(jvmFile, home));
}

void JVMFiles::setSearchRoots(const StringDeque& roots) {
  searchRoots_.removeAll();
  for (int i = 0; i < roots.count(); ++i) searchRoots_.add(roots.get(i));
}
