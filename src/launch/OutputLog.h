// A wizard may print hundreds of megabytes. Its captured output goes to the
// log as it comes, block by block, rather than being held for one log line
// at its end: the launcher keeps only a bounded tail (see CapturedOutput).
// Blocks of the two streams land in the order read, each run of them under
// the line that names its stream ("StdOut:", "ErrOut:").
#pragma once

#include <cstddef>

#include "base/OpenFiles.h"
#include "base/SString.h"

class OutputLog {
 public:
  // logFile empty: nothing is written.
  explicit OutputLog(const SString& logFile);
  // Ends the last block's line.
  ~OutputLog();
  OutputLog(const OutputLog&) = delete;
  OutputLog& operator=(const OutputLog&) = delete;

  // stream: 0 standard output, 1 error output.
  void write(int stream, const char* bytes, size_t length);

 private:
  void writeAll(const char* bytes, size_t length);

  FileDescriptor fd_;
  int lastStream_ = -1;
  bool atLineStart_ = true;
};
