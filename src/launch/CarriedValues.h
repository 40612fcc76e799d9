// Values the launcher itself puts into a launch script's command: its own
// path and directory, temporary paths, the extracted class path archives.
// They come from the machine, so they may hold any byte, and each must
// reach the program as it is. While the command is expanded each of them
// stands in the text as a token that none of the macro passes reads; once
// the expansion is done, each token is replaced by its value quoted for
// the place of the shell command it landed in.
#pragma once

#include "base/Deque.h"
#include "base/SString.h"

class CarriedValues {
 public:
  // The token that stands for value until the command is complete. It
  // holds none of the markers %, @ and #. An empty value gives no token.
  SString token(const SString& value);
  // text with every token replaced by its value as it is: for an
  // environment variable or the log, which no shell reads.
  SString plain(const SString& text) const;
  // text with every token replaced by its value quoted for where it stands:
  // inside double quotes its \, ", $ and back quotes get a backslash;
  // inside single quotes each ' becomes '\''; anywhere else it becomes one
  // double-quoted word. Throws LauncherException when a token stands where
  // no quoting carries it (inside back quotes or ${...}, or right after a
  // backslash).
  SString forShell(const SString& text) const;
  void clear() { values_.removeAll(); }

 private:
  // The value of the token that starts at pos, with end set to the
  // position after it; null when no token starts there.
  const SString* valueAt(const SString& text, SString::size_type pos, SString::size_type& end) const;

  StringDeque values_;
};
