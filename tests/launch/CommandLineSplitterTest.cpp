#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "launch/CommandLineSplitter.h"

namespace {

std::vector<std::string> split(const char* line) {
  CommandLineSplitter splitter;
  splitter.parse(line);
  std::vector<std::string> words;
  for (int i = 0; i < splitter.count(); ++i) words.push_back(splitter.word(i));
  return words;
}

}  // namespace

TEST(CommandLineSplitter, SplitsWordsQuotesAndEscapes) {
  typedef std::vector<std::string> Words;
  const struct {
    const char* line;
    Words want;
  } cases[] = {
      {"a \"b c\" d\\\"e", {"a", "b c", "d\"e"}},
      {"\"/tmp/dir with space/launcher\" -lx:orig \"/home/u/setup.bin\"",
       {"/tmp/dir with space/launcher", "-lx:orig", "/home/u/setup.bin"}},
      {"C:\\x \\\"y", {"C:\\x", "\"y"}},                   // the first word keeps backslashes
      {"\"C:\\dir\\\" x", {"C:\\dir\\", "x"}},             // even before a quote
      {"p a\\b \"q\\\"r\"", {"p", "a\\b", "q\"r"}},        // \" escapes inside quotes too
      {"  p\t\r\n a  ", {"p", "a"}},                       // every separator, empty words dropped
      {"p \"\" a", {"p", "", "a"}},                        // an empty quoted word is an empty argument
      {"p \"x\\\\\" \"\\\\\\\"\"", {"p", "x\\", "\\\""}},  // \\ escapes a backslash after the first word
      {"p x\"a b\"y", {"p", "xa by"}},                     // a quoted piece inside a word
      {"p \"ab\"cd", {"p", "ab", "cd"}},                   // a quoted word ends at its quote
      {"p \"open to the end", {"p", "open to the end"}},   // an unclosed quote runs to the end
      {"p trail\\", {"p", "trail\\"}},                     // a lone backslash at the end stays
      {"", {}},
      {" \t ", {}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.line);
    EXPECT_EQ(c.want, split(c.line));
  }
}

TEST(CommandLineSplitter, WordOutsideTheRangeIsNullAndParseStartsAfresh) {
  CommandLineSplitter splitter;
  splitter.parse("one two three");
  splitter.parse("four");
  ASSERT_EQ(1, splitter.count());
  EXPECT_STREQ("four", splitter.word(0));
  EXPECT_EQ(nullptr, splitter.word(1));
  EXPECT_EQ(nullptr, splitter.word(-1));
}
