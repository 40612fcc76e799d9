// Gathers a child's captured output straight into the SString that receives
// it. Each read from the pipe lands in the string's own buffer, so the text
// is copied once, by the kernel, and never again. The buffer is reserved
// ahead in doubling steps: SString grows by a fixed reserve only, which
// would copy the whole text for every block, while a reserved buffer is
// resized where it lies, a large one by remapping its pages.
#pragma once

#include <sys/types.h>

#include <cstddef>
#include <cstdint>

#include "base/SString.h"

class OutputLog;

class CapturedOutput {
 public:
  // text receives the output (appended); null discards it. With a limit,
  // the text takes at most that many bytes of this output; what comes
  // beyond it is read and dropped, and exceeded() tells so.
  explicit CapturedOutput(SString* text, size_t limit = 0) : text_(text), limit_(limit) {}
  // Gives back the room reserved ahead that the output did not use.
  ~CapturedOutput();
  CapturedOutput(const CapturedOutput&) = delete;
  CapturedOutput& operator=(const CapturedOutput&) = delete;

  // Reads once from fd, at most most bytes, and appends what came. Returns
  // what read() returned. Output beyond what an SString can hold is read
  // and dropped, so the child never blocks on a full pipe.
  ssize_t readFrom(int fd, size_t most);
  bool exceeded() const { return exceeded_; }
  // From now on each block read goes to log (null: nowhere) as stream, and
  // the text keeps only the last tail bytes, cut to start at a line when
  // one starts in them: memory stays bounded however much the child prints.
  void streamTo(OutputLog* log, int stream, size_t tail);

 private:
  SString::size_type makeRoom(size_t most);
  ssize_t readStreamed(int fd, size_t most);
  void keepTail(SString::size_type most);
  void populateAhead(char* where, SString::size_type n, SString::size_type spare);

  SString* text_;
  size_t limit_;
  size_t kept_ = 0;
  bool exceeded_ = false;
  bool reserved_ = false;
  OutputLog* log_ = nullptr;
  int stream_ = 0;
  size_t tail_ = 0;   // 0: keep everything
  bool cut_ = false;  // the text lost its start
  // How far the buffer's pages are known to be mapped, counted in
  // characters from the start of the text.
  uint64_t populated_ = 0;
};
