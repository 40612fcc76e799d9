#include <gtest/gtest.h>

#include "messages/UserLocale.h"

// Locale names spell character sets in many ways; the launcher must know
// UTF-8 and Latin-1 in each of them, and take nothing else for them.
TEST(UserLocale, KnowsTheCharsetOfALocaleNameHoweverItIsSpelled) {
  const struct {
    const char* locale;
    TerminalCharset want;
  } cases[] = {
      {"de_DE.UTF-8", TerminalCharset::kUtf8},
      {"de_DE.utf8", TerminalCharset::kUtf8},
      {"de_DE.UTF8", TerminalCharset::kUtf8},
      {"de_DE.Utf-8", TerminalCharset::kUtf8},
      {"C.UTF-8", TerminalCharset::kUtf8},
      {"ru_RU.UTF-8@latin", TerminalCharset::kUtf8},
      {".utf8", TerminalCharset::kUtf8},
      {"fr_FR.ISO-8859-1", TerminalCharset::kLatin1},
      {"fr_FR.ISO8859-1", TerminalCharset::kLatin1},
      {"fr_FR.iso88591", TerminalCharset::kLatin1},
      {"fr_FR.ISO_8859-1:1987", TerminalCharset::kLatin1},
      {"fr_FR.latin1@euro", TerminalCharset::kLatin1},
      {nullptr, TerminalCharset::kOther},
      {"", TerminalCharset::kOther},
      {"C", TerminalCharset::kOther},
      {"de_DE", TerminalCharset::kOther},
      {"de_DE@euro", TerminalCharset::kOther},
      {"de_DE.", TerminalCharset::kOther},
      {"de_DE.@utf8", TerminalCharset::kOther},
      {"de_DE.ISO-8859-15", TerminalCharset::kOther},
      {"ru_RU.ISO-8859-5", TerminalCharset::kOther},
      {"ja_JP.eucJP", TerminalCharset::kOther},
      {"ru_RU.KOI8-R", TerminalCharset::kOther},
      {"de_DE.UTF-16", TerminalCharset::kOther},
      {"de_DE.UTF-8x", TerminalCharset::kOther},
      {"de_DE.xUTF-8", TerminalCharset::kOther},
      {"de_DE.UTF-8-UTF-8-UTF-8-UTF-8-UTF-8-UTF-8-UTF-8", TerminalCharset::kOther},
      {"de_DE.utf8utf8utf8utf8utf8utf8utf8utf8utf8", TerminalCharset::kOther},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(c.want, TerminalCharsetOf(c.locale)) << (c.locale == nullptr ? "(null)" : c.locale);
  }
}
