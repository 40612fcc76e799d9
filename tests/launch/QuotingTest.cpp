// A quoted value reaches the program unchanged: through the real /bin/sh,
// and through the splitter that stands in for it when the process image is
// replaced.
#include <gtest/gtest.h>

#include <string>

#include "launch/CommandLineSplitter.h"
#include "launch/Quoting.h"
#include "support/Processes.h"

namespace {

const char* const kValues[] = {
    "plain",
    "",
    "two words",
    "tab\tand\nnewline",
    "double \" quote",
    "single ' quote",
    "back\\slash at the end\\",
    "\\\"escaped quote\\\"",
    "$HOME and ${PATH} and $(echo no) and `echo no`",
    "x$(touch PWNED)",
    "glob * ? [a] ~ !event #comment ; & | < > ( )",
    "ünïcödé 日本",
};

// What /bin/sh makes of the word: printf prints its argument as it is.
std::string ThroughShell(const SString& word) { return ShellOutput("printf '%s' " + std::string(word.c_str())); }

TEST(Quoting, ShellWordsReachTheProgramUnchanged) {
  for (const char* value : kValues) {
    EXPECT_EQ(value, ThroughShell(quoteForShell(value))) << "quoted as " << quoteForShell(value).c_str();
  }
}

TEST(Quoting, SplitterWordsReachTheProgramUnchanged) {
  for (const char* value : kValues) {
    CommandLineSplitter splitter;
    // The first word is the program, whose backslashes the splitter keeps.
    splitter.parse(SString("/bin/program ") + quoteForSplitter(value) + " " + quoteForSplitter(value));
    ASSERT_EQ(3, splitter.count()) << value;
    EXPECT_STREQ(value, splitter.word(1));
    EXPECT_STREQ(value, splitter.word(2));
  }
}

}  // namespace
