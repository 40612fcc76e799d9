#include <gtest/gtest.h>

#include <string>

#include "messages/Catalogue.h"
#include "messages/ConsoleFixture.h"
#include "messages/Messages.h"
#include "messages/Utf8Text.h"

namespace {

std::string Str(const SString& s) { return std::string(s.c_str(), s.length()); }

// A text of the catalogue for an id, formed in the locale LANG names.
std::string Formed(const char* lang, int id, const char* arg) {
  ScopedLang scoped(lang);
  return Str(FormatMessage(id, arg));
}

}  // namespace

// Every text of every language, as a terminal in the language's legacy
// encoding got it (with a path in it), reads in UTF-8 exactly as a UTF-8
// terminal would have got it.
TEST(ConsoleTextInUtf8, TurnsEveryLegacyCatalogueTextIntoItsUtf8Text) {
  const char* arg = "/home/u/Downloads/setup.bin";
  for (const CatalogueLanguage& language : kCatalogueLanguages) {
    const std::string legacyLang = language.code;
    const std::string utf8Lang = legacyLang + ".UTF-8";
    for (int id = 0; id < kCatalogueTexts; ++id) {
      if (language.utf8Text(id) == nullptr) continue;
      SCOPED_TRACE(legacyLang + " id " + std::to_string(id));
      std::string legacy = Formed(legacyLang.c_str(), id, arg);
      std::string utf8 = Formed(utf8Lang.c_str(), id, arg);
      ScopedLang scoped(legacyLang.c_str());
      EXPECT_EQ(utf8, Str(ConsoleTextInUtf8(SString(legacy.c_str(), static_cast<SString::size_type>(legacy.size())))));
    }
  }
}

// Failures are often two texts joined, or a text and what a lower step said.
TEST(ConsoleTextInUtf8, TurnsJoinedTextsEachIntoUtf8) {
  for (const char* lang : {"ru_RU", "ja_JP.eucJP", "de_DE", "pl_PL.ISO-8859-2", "zh_TW.Big5"}) {
    SCOPED_TRACE(lang);
    std::string utf8Lang = std::string(lang).substr(0, 5) + ".UTF-8";
    std::string legacy = Formed(lang, 19 + ERR_LOAD_INDEX, nullptr) + "reason: " + Formed(lang, MSG_DOWNLOAD_JVM, "x");
    std::string want = Formed(utf8Lang.c_str(), 19 + ERR_LOAD_INDEX, nullptr) +
                       "reason: " + Formed(utf8Lang.c_str(), MSG_DOWNLOAD_JVM, "x");
    ScopedLang scoped(lang);
    EXPECT_EQ(want, Str(ConsoleTextInUtf8(SString(legacy.c_str(), static_cast<SString::size_type>(legacy.size())))));
  }
}

// Paths and values keep their bytes where they are UTF-8; what is not
// becomes the replacement character, or Latin-1 on a Latin-1 terminal,
// never bytes a UTF-8 reader would refuse.
TEST(ConsoleTextInUtf8, MakesOtherBytesValidUtf8) {
  const struct {
    const char* lang;
    std::string text;
    std::string want;
  } cases[] = {
      {"C.UTF-8", "/tmp/caf\xC3\xA9 \xD0\xBF \xE2\x82\xAC \xF0\x9F\x98\x80",
       "/tmp/caf\xC3\xA9 \xD0\xBF \xE2\x82\xAC \xF0\x9F\x98\x80"},
      {"C.UTF-8", "a\xE9z", "a\xEF\xBF\xBDz"},
      {"C.UTF-8", "cut \xE2\x82", "cut \xEF\xBF\xBD\xEF\xBF\xBD"},
      {"C.UTF-8", "overlong \xC0\xAF", "overlong \xEF\xBF\xBD\xEF\xBF\xBD"},
      {"C.UTF-8", "surrogate \xED\xA0\x80", "surrogate \xEF\xBF\xBD\xEF\xBF\xBD\xEF\xBF\xBD"},
      {"C.UTF-8", "beyond \xF4\x90\x80\x80", "beyond \xEF\xBF\xBD\xEF\xBF\xBD\xEF\xBF\xBD\xEF\xBF\xBD"},
      {"C", "a\xE9z", "a\xEF\xBF\xBDz"},
      {"ru_RU", "/home/\xD0\xBF", "/home/\xD0\xBF"},
      {"de_DE.ISO-8859-1", "/tmp/caf\xE9", "/tmp/caf\xC3\xA9"},
      {"de_DE.ISO-8859-1", "/tmp/caf\xC3\xA9", "/tmp/caf\xC3\xA9"},
      {"C.UTF-8", std::string("nul\0byte", 8), std::string("nul\0byte", 8)},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(std::string(c.lang) + ": " + c.text);
    ScopedLang scoped(c.lang);
    EXPECT_EQ(c.want, Str(ConsoleTextInUtf8(SString(c.text.c_str(), static_cast<SString::size_type>(c.text.size())))));
  }
}

// The terminal's title ends where its character set cannot go on; the
// dialog's title has every character.
TEST_F(ConsoleTest, TitleInUtf8HasTheCharactersTheTerminalCannotShow) {
  ScopedLang lang("C");
  SetTitle("Caf\\u00e9 \\u0416 \xC2\xAB$(x)\xC2\xBB");
  takeOutput();
  EXPECT_EQ("Caf", Str(GetTitle()));
  EXPECT_EQ("Caf\xC3\xA9 \xD0\x96 \xC2\xAB$(x)\xC2\xBB", Str(GetTitleInUtf8()));
}
