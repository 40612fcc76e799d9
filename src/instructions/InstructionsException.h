// A failure of an instructions script. It carries the 1-based number of the
// script line that failed; the controller adds its own wording around both.
#pragma once

#include "base/SString.h"

class InstructionsException {
 public:
  InstructionsException(const SString& message, long line) : message_(message), line_(line) {}
  virtual ~InstructionsException() {}

  const SString& getMessage() const { return message_; }
  long getLine() const { return line_; }

 private:
  SString message_;
  long line_;
};
