#include <gtest/gtest.h>

#include <string>

#include "messages/TitleText.h"

namespace {

std::string Decoded(const char* text, TerminalCharset charset) {
  SString title = DecodeTitle(text, charset);
  return std::string(title.c_str(), title.length());
}

}  // namespace

// What an escape is, whatever the terminal: six characters, the four after
// the letter read as "%x" reads them.
TEST(TitleText, DecodesEscapesAndLeavesEverythingElse) {
  const struct {
    const char* text;
    const char* want;
  } cases[] = {
      {"\\u0041BC", "ABC"},
      {"\\U0041\\u0062c", "Abc"},
      {"\\uzzzz", "\\uzzzz"},
      {"ab\\u00zzcd", "ab"},  // code 0 ends the title
      {"ab\\u0000cd", "ab"},
      {"ab\\u-001cd", "ab"},  // "%x" takes the sign: far beyond Unicode
      {"x\\u004", "x\\u004"},
      {"a\\b\\", "a\\b\\"},
      {"\\x0041", "\\x0041"},
      {"Caf\xc3\xa9 \\u0021", "Caf\xc3\xa9 !"},  // other bytes stay as they are
      {"", ""},
  };
  for (TerminalCharset charset : {TerminalCharset::kUtf8, TerminalCharset::kLatin1, TerminalCharset::kOther}) {
    SCOPED_TRACE(static_cast<int>(charset));
    for (const auto& c : cases) EXPECT_EQ(c.want, Decoded(c.text, charset)) << c.text;
  }
}

// Each terminal gets the characters its character set holds; the title
// ends before the first one it does not.
TEST(TitleText, WritesCharactersForTheTerminalOrEndsBeforeThem) {
  const struct {
    const char* text;
    const char* utf8;
    const char* latin1;
    const char* other;
  } cases[] = {
      {"\\u00e9t\\u00e9", "\xc3\xa9t\xc3\xa9", "\xe9t\xe9", ""},
      {"\\U00E9t\\U00e9", "\xc3\xa9t\xc3\xa9", "\xe9t\xe9", ""},
      {"Demo \\u007f\\u0080", "Demo \x7f\xc2\x80", "Demo \x7f\x80", "Demo \x7f"},
      {"\\u00ff\\u0100", "\xc3\xbf\xc4\x80", "\xff", ""},
      {"A\\u07ff\\u0800", "A\xdf\xbf\xe0\xa0\x80", "A", "A"},
      {"5 \\u20ac", "5 \xe2\x82\xac", "5 ", "5 "},
      {"\\u041f\\u0443\\u0441\\u043a", "Пуск", "", ""},
      {"\\u65e5\\u672c", "日本", "", ""},
      {"\\uffff.", "\xef\xbf\xbf.", "", ""},
      {"a\\ud800\\udc00b", "a", "a", "a"},  // a surrogate has no UTF-8 form
      {"a\\udfffb", "a", "a", "a"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.text);
    EXPECT_EQ(c.utf8, Decoded(c.text, TerminalCharset::kUtf8));
    EXPECT_EQ(c.latin1, Decoded(c.text, TerminalCharset::kLatin1));
    EXPECT_EQ(c.other, Decoded(c.text, TerminalCharset::kOther));
  }
}
