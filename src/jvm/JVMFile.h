// One kind of Java VM that the application accepts, as a JVM description
// tag file describes it: how its home is recognised, where to look for it,
// which system properties it must report and how its command line is put
// together. Every tag is also a macro "@NAME@" for the launch script.
//
// The JVMFile only reads its tag file; the tag file belongs to the archive
// entry or to the list of tag files loaded from disk. Its searches read the
// launcher's paths and options, and verify, through the run context.
#pragma once

#include "base/Deque.h"
#include "base/SString.h"
#include "jvm/FoundHomeTrust.h"
#include "jvm/JavaVersionRange.h"
#include "jvm/MacroHandler.h"
#include "jvm/RejectedHomes.h"
#include "jvm/RunContext.h"
#include "tagfile/TagFile.h"

class HomeCandidates;
class JVMMatch;

class JVMFile final : public MacroHandler {
 public:
  JVMFile(TagFile* tagFile, const RunContext& context) : tagFile_(tagFile), context_(context) {}
  JVMFile(const JVMFile&) = delete;
  JVMFile& operator=(const JVMFile&) = delete;

  TagFile* getTagFile() const { return tagFile_; }
  const RunContext& context() const { return context_; }
  // The java executable below the JVM home, such as "jre/bin/java".
  SString getJvmExe() const { return tagFile_->getValue("JVM_EXE", 0); }
  bool getSearchAll() const { return tagFile_->getBool("SEARCH_ALL", false); }
  // NEEDS_WINDOWS: 1. The program opens windows, so where the session has
  // a display a JVM that cannot open them (a headless one) is passed over;
  // without a display it is taken as any other.
  bool needsWindows() const { return tagFile_->getBool("NEEDS_WINDOWS", false); }

  // Replaces every "@NAME@" by the first value of the tag NAME.
  SString expand(const SString& text);
  void resolveMacro(SString& text, char marker, SString::size_type start, SString::size_type& end) override;

  // Where the description's hints say a JVM may live, and the verification
  // of one home by running the verification class there (JVMFileSearch.cpp).
  // Each returns a new match, or null.
  // With tried, every home the platform hints named is added to it.
  JVMMatch* searchPlatformHints(const SString& classPath, const SString& className, StringDeque* tried = nullptr);
  JVMMatch* searchPathHints(const SString& classPath, const SString& className);
  JVMMatch* searchPlatformPath(const SString& classPath, const SString& className);
  // A home the launcher found by itself is started only when others could
  // not have planted its java (FoundHomeTrust.h); each search says which
  // kind its homes are.
  JVMMatch* verifyAt(const SString& home, const SString& classPath, const SString& className, HomeOrigin origin);
  // Verifies the home the description names in its own JVM_HOME.
  JVMMatch* verifyHome(const SString& classPath, const SString& className);

  // The best-match search of descriptions with JAVA_VERSION, PREFER or
  // KNOWN_LOCATIONS (BestMatchSearch.cpp), in place of the three hint
  // searches: the PLATFORM_HINT variables in order, then every other
  // candidate, each once, newest first by its release file.
  bool usesBestMatchSearch() const;
  JVMMatch* searchBestMatch(const SString& classPath, const SString& className);
  // False when the description has no JAVA_VERSION. Throws, naming the
  // file, when JAVA_VERSION or PREFER is malformed: a range read as
  // "anything" would take any Java.
  bool requiredVersionRange(JavaVersionRange& range) const;
  void checkSearchKeys() const;

  // What each candidate of the current search came to, for the summary
  // when none matched. A search starts a new report, and shows the
  // description's step on the console again (once).
  void startSearchReport();
  // Adds a candidate's outcome; each executable is reported once.
  void reportCandidate(const SString& executable, const SString& outcome);
  // Reports a Java found at home that was turned down, and notes it with
  // the user's short reason (version: as the user reads it, for a version
  // outside the range).
  void passOver(const SString& home, const SString& executable, const SString& outcome, Rejection reason,
                const SString& version = SString());
  // One line: what the description requires and what the candidates had.
  SString searchSummary() const;
  // The homes the current search turned down, for the user's no-Java text.
  const RejectedHomes& rejectedHomes() const { return rejected_; }

 private:
  bool canVerify(const char* searchKind);
  bool runVerification(const SString& home, const SString& classPath, const SString& className);
  bool ruledOutByReleaseFile(const SString& home, const SString& executable, const StringPairPtrDeque& properties,
                             const JavaVersionRange* range);
  bool newestFirst() const;
  // The homes of the path hints (or of the one at index only), "~/", "*"
  // and "?" expanded.
  void addPathHints(HomeCandidates& candidates, int only = -1);
  // A path hint with "~/", "*" or "?": its matches, newest first.
  JVMMatch* verifyPatternHint(int hintIndex, const SString& classPath, const SString& className);
  // The home a PATH directory names: /opt/x/bin gives /opt/x/ for JVM_EXE
  // bin/java.
  SString homeOfPathEntry(const SString& directory) const;
  bool runOrRecall(const SString& command, const SString& home, const SString& executable, const SString& classPath,
                   const SString& className, const StringPairPtrDeque& properties, SString& output);
  // Turns down a home whose java reported or whose release file gives a
  // version outside the range.
  void passOverVersion(const SString& home, const SString& executable, const SString& outcome,
                       const JavaVersionRange& range, const SString& version);
  SString verificationContext() const;

  TagFile* tagFile_;
  const RunContext& context_;
  StringDeque candidateReport_;
  int unreportedCandidates_ = 0;
  RejectedHomes rejected_;
  bool verifyingShown_ = false;
};

// Throws, naming the file, when the description's JAVA_VERSION or PREFER is
// malformed, as JVMFile::checkSearchKeys does; for those who only read
// descriptions and run no search.
void checkJvmSearchKeys(const TagFile* tagFile);

// The entries own their JVMFile only when asked to.
class JVMFilePtrDE : public DequeEntry {
 public:
  JVMFilePtrDE(JVMFile* jvmFile, bool owns) : item(jvmFile), owns_(owns) {}
  ~JVMFilePtrDE() override {
    if (owns_) delete item;
  }
  JVMFilePtrDE(const JVMFilePtrDE&) = delete;
  JVMFilePtrDE& operator=(const JVMFilePtrDE&) = delete;

  JVMFile* item;

 private:
  bool owns_;
};

typedef PtrDeque<JVMFile, JVMFilePtrDE> JVMFilePtrDeque;
