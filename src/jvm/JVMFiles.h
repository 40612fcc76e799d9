// The set of JVM descriptions the launcher accepts, and the search for a
// JVM that matches one of them: the user's java home first, then the hints
// of each description in turn, and, when a description asks for it, a walk
// over every file system. Candidates are verified by running them with the
// verification class; the first that passes is the match. The java home
// and the archive's verification class come from the run context.
#pragma once

#include <memory>

#include "base/Deque.h"
#include "base/SString.h"
#include "fsutil/FileFindListener.h"
#include "jvm/JVMFile.h"
#include "jvm/JVMMatch.h"
#include "jvm/RunContext.h"

class JVMFiles final : public FileFindListener {
 public:
  explicit JVMFiles(const RunContext& context);
  ~JVMFiles();
  JVMFiles(const JVMFiles&) = delete;
  JVMFiles& operator=(const JVMFiles&) = delete;

  // The list order is the search order. The set owns the description.
  void addJVMFile(JVMFile* jvmFile);
  int count() const { return jvmFiles_.count(); }
  JVMFile* get(int i) const { return jvmFiles_.get(i); }

  // A verification class supplied by the input file; it replaces the one
  // in the launcher's archive.
  void setVerifyClass(const SString& classPath, const SString& className);
  void getVerifyClass(SString& classPath, SString& className);
  // Extracts the archive's verification class, unless one is known already.
  void prepareVerifyClass();

  // Appends at most one match: the first candidate that verifies.
  void find(JVMMatchPtrDeque& matches);
  // Walks every file system for the executables of all descriptions and
  // appends the matches; with stopAtFirst only the first.
  void searchAll(JVMMatchPtrDeque& matches, int stopAtFirst);
  void exhaustiveSearch(JVMMatchPtrDeque& matches);
  int fileFound(const SString& path) override;
  void addUnverified(JVMFile* jvmFile, const SString& home);
  const UnverifiedJVMMatchPtrDeque& getUnverified() const { return unverified_; }

  // The directories the exhaustive search walks; empty (the default) means
  // the root of every disk. Tests point it at a tree of their own.
  void setSearchRoots(const StringDeque& roots);

 private:
  void checkSearchKeys() const;
  void startSearchReports();
  void logSearchSummaries();
  void walkSearchRoots(const StringDeque& names);
  void verifyUnverified(JVMMatchPtrDeque& matches);
  bool triedAtOnce(const SString& home);

  const RunContext& context_;
  JVMFilePtrDeque jvmFiles_;
  UnverifiedJVMMatchPtrDeque unverified_;
  // Owned until it is handed to the caller's list, so a failure half-way
  // through a search cannot leak it.
  std::unique_ptr<JVMMatch> match_;
  int stopAtFirst_;
  SString verifyClassPath_;
  SString verifyClassName_;
  StringDeque searchRoots_;
  // Homes of the first description already verified during the current
  // walk: a file reported for several names must not start its JVM twice.
  StringDeque homesTriedAtOnce_;
};
