// Macros are names between two markers in a text: "@JVM_HOME@" names a tag
// of a JVM description, "%CP%(...)" a launch script function, "#HOME#" an
// environment variable. One routine finds them; the handler of each kind
// decides what replaces them.
#pragma once

#include "base/LauncherException.h"
#include "base/SString.h"

class MacroHandler {
 public:
  // Replaces the macro whose opening marker is at start and whose closing
  // marker is at end, and whatever else belongs to it, in text. The caller
  // scans on from start, so the inserted value is expanded in turn.
  virtual void resolveMacro(SString& text, char marker, SString::size_type start, SString::size_type& end) = 0;

 protected:
  ~MacroHandler() {}
};

// Expands every macro of the given marker in a copy of text, then turns each
// doubled marker into a single one. Throws MacroLoopException when the
// values keep bringing the macros back.
SString expandMacros(MacroHandler* handler, const SString& text, char marker);

// A value that contains its own macro, directly or through others, would
// be expanded for ever.
class MacroLoopException : public LauncherException {
 public:
  MacroLoopException(const SString& message, const SString& text) : LauncherException(message), text_(text) {}
  // The text as far as it was expanded when the expansion was stopped.
  const SString& getText() const { return text_; }

 private:
  SString text_;
};
