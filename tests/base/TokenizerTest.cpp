#include <gtest/gtest.h>

#include "base/LauncherException.h"
#include "base/Tokenizer.h"

namespace {
const SString::size_type npos = SString::npos;
}

TEST(Tokenizer, ReadsQuotedArguments) {
  const struct {
    const char* line;
    SString::size_type start;
    const char* want;
    SString::size_type endPos;
  } cases[] = {
      {"a \"\"b\"\" c\" rest", 0, "a \"b\" c", 10},
      {"abc\"", 0, "abc", npos},
      {"\"", 0, "", npos},
      {"x\"abc\" tail", 2, "abc", 6},
      {"\"\"\"\"", 1, "\"", npos},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.line);
    SString::size_type pos = c.start;
    EXPECT_EQ(SString(c.want), readArgument(c.line, pos, true));
    EXPECT_EQ(c.endPos, pos);
  }
}

TEST(Tokenizer, UnterminatedQuotedArgumentNamesThePosition) {
  const struct {
    const char* line;
    const char* message;
  } cases[] = {
      {"abc", "Expected double quote to end argument near 0"},
      {"a\"\"", "Expected double quote to end argument near -1"},
      {"", "Expected double quote to end argument near 0"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.line);
    SString::size_type pos = 0;
    try {
      readArgument(c.line, pos, true);
      FAIL() << "no exception";
    } catch (const LauncherException& e) {
      EXPECT_EQ(SString(c.message), e.getMessage());
    }
  }
}

TEST(Tokenizer, ReadsPlainArguments) {
  SString::size_type pos = 0;
  EXPECT_EQ(SString("5"), readArgument("5 6", pos, false));
  EXPECT_EQ(1u, pos);
  pos = 0;
  EXPECT_EQ(SString("abc"), readArgument("abc", pos, false));
  EXPECT_EQ(npos, pos);
  pos = 0;
  // A vertical tab is no separator for arguments, only for words.
  EXPECT_EQ(SString("a\vb"), readArgument("a\vb c", pos, false));
}

TEST(Tokenizer, NextWordWalksALine) {
  SString line("  FIND_JVM 1 1");
  SString::size_type pos = 0;
  bool noWord = true;
  EXPECT_EQ(SString("FIND_JVM"), nextWord(line, pos, noWord));
  EXPECT_FALSE(noWord);
  EXPECT_EQ(11u, pos);
  EXPECT_EQ(SString("1"), nextWord(line, pos, noWord));
  EXPECT_EQ(SString("1"), nextWord(line, pos, noWord));
  EXPECT_EQ(15u, pos);
  EXPECT_EQ(SString(""), nextWord(line, pos, noWord));
  EXPECT_TRUE(noWord);
  EXPECT_EQ(15u, pos);
}

TEST(Tokenizer, NextWordSeparatesAtEveryCSpace) {
  SString line("a\vb\fc");
  SString::size_type pos = 0;
  bool noWord = false;
  EXPECT_EQ(SString("a"), nextWord(line, pos, noWord));
  EXPECT_EQ(SString("b"), nextWord(line, pos, noWord));
  EXPECT_EQ(SString("c"), nextWord(line, pos, noWord));
  SString blank("   ");
  pos = 0;
  EXPECT_EQ(SString(""), nextWord(blank, pos, noWord));
  EXPECT_TRUE(noWord);
}

TEST(Tokenizer, IsWhite) {
  EXPECT_TRUE(isWhite(' '));
  EXPECT_TRUE(isWhite('\t'));
  EXPECT_TRUE(isWhite('\n'));
  EXPECT_TRUE(isWhite('\r'));
  EXPECT_FALSE(isWhite('\v'));
  EXPECT_FALSE(isWhite('\f'));
  EXPECT_FALSE(isWhite('\0'));
  EXPECT_FALSE(isWhite('x'));
}
