// A wizard may print hundreds of megabytes. Its captured output goes to the
// log as it comes, block by block, rather than being held for one log line
// at its end: the launcher keeps only a bounded tail (see CapturedOutput).
// Blocks of the two streams land in the order read, each run of them under
// the line that names its stream ("StdOut:", "ErrOut:").
//
// The log is bounded as well: a program left running may print for days,
// and a log that fills the disk is worse than one that lost the middle of
// an output. An OutputLog writes at most its budget: the first part of the
// output goes straight to the file; beyond it, the output is held in memory
// in a ring as long as the last part may be, and when the output ends one
// line tells how many bytes were left out, then the last part follows, from
// a line start and under the heading of its stream.
#pragma once

#include <cstddef>
#include <cstdint>

#include "base/OpenFiles.h"
#include "base/SString.h"

// The most bytes of the log that one command's captured output takes: what
// the command printed while the launcher waited and what programs it left
// running printed afterwards, together.
const uint64_t kCapturedOutputLogLimit = 64u * 1024 * 1024;
// Of that, the part kept for the programs a command left running: the
// command's own output takes at most the rest.
const uint64_t kLateOutputLogRoom = 16u * 1024 * 1024;

class OutputLog {
 public:
  // The log file opened for appending; none for an empty name, or when it
  // cannot be opened.
  static FileDescriptor openFile(const SString& logFile);

  // Writes to log (not open: nothing is written), at most budget bytes;
  // title, when not null, is a line (ended by its line feed) written before
  // the first block.
  OutputLog(FileDescriptor log, uint64_t budget, const char* title = nullptr);
  // Finishes.
  ~OutputLog();
  OutputLog(const OutputLog&) = delete;
  OutputLog& operator=(const OutputLog&) = delete;

  // stream: 0 standard output, 1 error output.
  void write(int stream, const char* bytes, size_t length);
  // Writes what is held of the output's last part and ends the last line.
  // Once; later writes are dropped. Returns written().
  uint64_t finish();
  // The bytes written to the log so far (attempted: a full disk loses
  // lines, but they count).
  uint64_t written() const { return written_; }
  // The bytes of output left out so far.
  uint64_t leftOut() const { return leftOut_; }

 private:
  struct Segment {
    uint32_t length;  // no more than the ring holds
    int32_t stream;
  };

  void writeAll(const char* bytes, size_t length);
  void writeHeading(int stream);
  size_t writeHead(int stream, const char* bytes, size_t length);
  void hold(int stream, const char* bytes, size_t length);
  bool allocateRing();
  uint64_t ringCost() const;
  void dropFront(uint64_t count);
  void writeHeld();

  FileDescriptor fd_;
  const char* title_ = nullptr;
  uint64_t headLimit_ = 0;
  uint64_t tailRoom_ = 0;
  uint64_t written_ = 0;
  uint64_t leftOut_ = 0;
  int lastStream_ = -1;
  bool atLineStart_ = true;
  bool holding_ = false;  // the first part is written; output goes to the ring
  bool finished_ = false;

  // The last part: ringBytes_ bytes in a ring that starts at ringStart_,
  // and the runs of one stream in it, oldest first, in a ring of their own.
  char* ring_ = nullptr;
  uint64_t ringSize_ = 0;
  uint64_t ringStart_ = 0;
  uint64_t ringBytes_ = 0;
  Segment* segments_ = nullptr;
  uint64_t segmentSlots_ = 0;
  uint64_t firstSegment_ = 0;
  uint64_t segmentCount_ = 0;
  size_t mappedSize_ = 0;
};
