// A --jvm-option may name folders that exist only when the launcher runs:
// $APP_DIR, the program's folder as unpacked, and $LAUNCHER_DIR, the
// folder of the launcher the user started ("${APP_DIR}" too, for a name
// followed by letters). $$ is one dollar. Any other dollar stays as it is,
// so options that hold one by nature (a nested class, Outer$Inner, or a
// pattern) reach java unchanged; a name that looks like a variable is
// reported, since a packager who wrote $HOME or $APPDIR expected it to be
// replaced.
#pragma once

#include <string>
#include <vector>

struct JvmOptionPart {
  enum Kind { kText, kAppDir, kLauncherDir };
  Kind kind = kText;
  std::string text;  // kText only
};

struct JvmOption {
  // Text and folders in order; neighbouring text is one part.
  std::vector<JvmOptionPart> parts;
  // "$HOME", "${APPDIR}": the names left as they are that look like
  // variables (upper-case letters, digits and '_').
  std::vector<std::string> unknownNames;

  bool names(JvmOptionPart::Kind kind) const;
};

JvmOption readJvmOption(const std::string& option);
