#include "jvm/JVMMatch.h"

#include "fsutil/TempFiles.h"
#include "tagfile/TagFile.h"

SString JVMMatch::writeJvmFile() {
  SString path = CreateTempFile();
  tagFile_->setJvmInfo(home_, path, temp_ != 0);
  tagFile_->write(path);
  return path;
}

UnverifiedJVMMatch::UnverifiedJVMMatch(JVMFile* jvmFile, const SString& home) : jvmFile_(jvmFile) { homes_.add(home); }

void UnverifiedJVMMatch::addHome(const SString& home) {
  for (int i = 0; i < homes_.count(); ++i) {
    if (homes_.get(i) == home) return;
  }
  homes_.add(home);
}
