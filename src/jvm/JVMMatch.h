// The results of a JVM search. A JVMMatch is a home that passed
// verification for one JVM description; the controller writes it out as a
// description file for the wizard. An UnverifiedJVMMatch collects the homes
// the exhaustive search found for one description, to be verified after
// the walk.
#pragma once

#include "base/Deque.h"
#include "base/SString.h"

class TagFile;
class JVMFile;

class JVMMatch {
 public:
  // The tag file belongs to the description, not to the match.
  JVMMatch(const SString& home, TagFile* tagFile) : home_(home), temp_(0), tagFile_(tagFile) {}
  virtual ~JVMMatch() {}
  JVMMatch(const JVMMatch&) = delete;
  JVMMatch& operator=(const JVMMatch&) = delete;

  SString getHome() const { return home_; }
  // The JVM lives inside the launcher's directory (found by a relative path
  // hint): the wizard is told so through JVM_TEMP.
  void setTemp() { temp_ = 1; }
  int getTemp() const { return temp_; }
  TagFile* getTagFile() const { return tagFile_; }

  // Writes the whole description, with JVM_HOME, JVM_FILE and JVM_TEMP set
  // for this match, into a new temporary file and returns its path. The
  // description's tag file keeps the three values.
  SString writeJvmFile();

 private:
  SString home_;
  int temp_;
  TagFile* tagFile_;
};

typedef PtrDE<JVMMatch> JVMMatchPtrDE;
typedef PtrDeque<JVMMatch> JVMMatchPtrDeque;

class UnverifiedJVMMatch {
 public:
  // The description is not owned.
  UnverifiedJVMMatch(JVMFile* jvmFile, const SString& home);
  UnverifiedJVMMatch(const UnverifiedJVMMatch&) = delete;
  UnverifiedJVMMatch& operator=(const UnverifiedJVMMatch&) = delete;

  JVMFile* getJVMFile() const { return jvmFile_; }
  // In the order found, each home once.
  const StringDeque& getHomes() const { return homes_; }
  void addHome(const SString& home);

 private:
  JVMFile* jvmFile_;
  StringDeque homes_;
};

typedef PtrDE<UnverifiedJVMMatch> UnverifiedJVMMatchPtrDE;
typedef PtrDeque<UnverifiedJVMMatch> UnverifiedJVMMatchPtrDeque;
