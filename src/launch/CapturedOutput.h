// Gathers a child's captured output while it runs. The text grows by
// doubling a malloc block, which the C library moves without copying once
// it is large, and goes into an SString once, at the end: SString grows by
// a fixed reserve only, so appending to one block by block would copy the
// whole text for every block.
#pragma once

#include <cstddef>

#include "base/SString.h"

class CapturedOutput {
 public:
  CapturedOutput() = default;
  ~CapturedOutput();
  CapturedOutput(const CapturedOutput&) = delete;
  CapturedOutput& operator=(const CapturedOutput&) = delete;

  void append(const char* bytes, size_t n);
  size_t size() const { return size_; }
  // Appends everything gathered to text, as far as an SString can hold it.
  void appendTo(SString& text) const;

 private:
  char* bytes_ = nullptr;
  size_t size_ = 0;
  size_t capacity_ = 0;
};
