// Receives the files that the file search reports. Declared here, below the
// JVM search that implements it, so that the walker needs nothing above it.
#pragma once

#include "base/SString.h"

class FileFindListener {
 public:
  // Returns non-zero to stop the search.
  virtual int fileFound(const SString& path) = 0;

 protected:
  ~FileFindListener() {}
};
