#include <gtest/gtest.h>

#include "fsutil/CommandSafePath.h"

// Refused: what acts inside a double-quoted shell word, what ends the first
// word of an embedded launcher's command line, what the launch script's
// macro passes read, and the end of a line. Kept: everything a double-quoted
// shell word holds as it is, blanks and other shell specials included.
TEST(CommandSafePath, RefusesWhatTheShellOrTheLaunchScriptWouldInterpret) {
  const struct {
    const char* path;
    bool safe;
  } cases[] = {
      {"/tmp", true},
      {"", true},
      {"/home/a b/My Java (x64)/jdk-17", true},
      {"/opt/it's/jdk", true},
      {"/opt/a;b&c|d<e>f*g?h~i!j{k}[l]=m", true},
      {"/opt/tab\there", true},
      {"/opt/caf\xc3\xa9", true},
      {"/opt/\"quoted\"", false},
      {"/opt/$HOME", false},
      {"/opt/`id`", false},
      {"/opt/back\\slash", false},
      {"/opt/100%", false},
      {"/opt/@S1@", false},
      {"/opt/#1", false},
      {"/opt/line\nbreak", false},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.path);
    EXPECT_EQ(c.safe, IsCommandSafePath(c.path));
  }
}
