// Every failure that stops an operation travels as a LauncherException
// carrying one message text; the run sequence adds its wording and the
// top-level handler shows it.
#pragma once

#include <exception>

#include "base/SString.h"

class LauncherException : public std::exception {
 public:
  explicit LauncherException(const SString& message) : message_(message) {}
  const SString& getMessage() const { return message_; }
  const char* what() const noexcept override { return message_.c_str(); }

 private:
  SString message_;
};
