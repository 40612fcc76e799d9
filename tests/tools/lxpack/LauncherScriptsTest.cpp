#include <gtest/gtest.h>

#include <cstdio>
#include <string>

#include "lxpack/LauncherScripts.h"
#include "support/TempDir.h"
#include "tagfile/TagFile.h"

namespace {

// What /bin/sh makes of the word, as the bytes of its one argument.
std::string throughShell(const std::string& word) {
  const std::string command = "printf '%s' " + word;
  FILE* pipe = ::popen(command.c_str(), "r");
  if (!pipe) return "(popen failed)";
  std::string out;
  char buffer[256];
  size_t n;
  while ((n = std::fread(buffer, 1, sizeof buffer, pipe)) > 0) out.append(buffer, n);
  ::pclose(pipe);
  return out;
}

}  // namespace

TEST(LauncherScripts, CommandWordsReachTheProgramUnchangedAndHoldNoMarker) {
  const char* const values[] = {"-Xmx1g",        "-Dname=a b", "it's",        "say \"hi\"", "$HOME `id` $(id)",
                                "back\\slash\\", "50%",        "a@b@c",       "#x# ##",     "%CP%(\"x\")",
                                "*?[a]",         "tab\there",  "Outer$Inner", "~user",      "'"};
  for (const char* value : values) {
    SCOPED_TRACE(value);
    const std::string word = commandWord(value);
    EXPECT_EQ(std::string::npos, word.find_first_of("%@#")) << word;
    EXPECT_EQ(value, throughShell(word)) << word;
  }
  EXPECT_EQ("com.example.Main", commandWord("com.example.Main"));
}

TEST(LauncherScripts, TagValuesReadBackAsTheyWereGiven) {
  TempDir dir;
  const char* const values[] = {"My App", " lead", "trail ", "\"quoted\" title", "in \"the\" middle", "\t", "a: b"};
  for (const char* value : values) {
    SCOPED_TRACE(value);
    const std::string path = dir.write("value.tag", "DESC: " + tagValue(value) + "\n");
    EXPECT_EQ(value, std::string(TagFile(path.c_str()).getValue("DESC", 0).c_str()));
  }
}
