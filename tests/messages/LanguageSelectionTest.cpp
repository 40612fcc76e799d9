#include <gtest/gtest.h>

#include <string>

#include "messages/Catalogue.h"
#include "messages/ConsoleFixture.h"
#include "messages/Messages.h"
#include "messages/TranslationFiles.h"
#include "messages/UserLocale.h"

namespace {

std::string Str(const SString& s) { return std::string(s.c_str(), s.length()); }

}  // namespace

TEST(LanguageSelection, ChoosesTheLanguageFromLang) {
  const struct {
    const char* lang;
    const char* code;
  } cases[] = {
      {nullptr, "en"},
      {"C", "en"},
      {"POSIX", "en"},
      {"xx", "en"},
      {"", "en"},
      {"C.UTF-8", "en"},
      {"en_US", "en"},
      {"en_GB.UTF-8", "en"},
      {"de", "de"},
      {"de_DE", "de"},
      {"de_AT.UTF-8", "de"},
      {"fr_FR.ISO8859-1", "fr"},
      {"pt", "pt"},
      {"pt_PT", "pt"},
      {"pt_PT.UTF-8", "pt"},
      {"pt_BR", "pt_BR"},
      {"pt_BR.UTF-8", "pt_BR"},
      {"zh", "zh"},
      {"zh_CN.GB2312", "zh"},
      {"zh_TW", "zh_TW"},
      {"zh_TW.Big5", "zh_TW"},
      {"ja_JP.eucJP", "ja"},
      {"ko_KR.EUC-KR", "ko"},
      {"ru_RU.UTF-8", "ru"},
      {"el_GR.ISO-8859-7", "el"},
      {"cs_CZ", "cs"},
      {"sv_FI", "sv"},
      {"tr_TR.UTF-8", "tr"},
      {"no_NO", "no"},
      {"nl_BE@euro", "nl"},
      {"DE_de", "en"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.lang == nullptr ? "(unset)" : c.lang);
    ScopedLang lang(c.lang);
    EXPECT_STREQ(c.code, kCatalogueLanguages[SelectLanguage()].code);
    EXPECT_EQ(c.code, FormatMessage(MSG_LANGUAGE_CODE, nullptr));
  }
}

// As every POSIX program takes them: LC_ALL, then LC_MESSAGES, then LANG,
// the first that is set and not empty. The character set comes from the
// same variable as the language.
TEST(LanguageSelection, TakesTheFirstOfLcAllLcMessagesAndLangThatIsSet) {
  const struct {
    const char* lcAll;
    const char* lcMessages;
    const char* lang;
    const char* locale;  // the one that counts
  } cases[] = {
      {"de_DE.UTF-8", nullptr, nullptr, "de_DE.UTF-8"},
      {"de_DE.UTF-8", "fr_FR.UTF-8", "ru_RU.UTF-8", "de_DE.UTF-8"},
      {"C", "fr_FR.UTF-8", "ru_RU.UTF-8", "C"},
      {nullptr, "fr_FR.UTF-8", "ru_RU.UTF-8", "fr_FR.UTF-8"},
      {"", "fr_FR.UTF-8", "ru_RU.UTF-8", "fr_FR.UTF-8"},
      {"", "", "ru_RU.UTF-8", "ru_RU.UTF-8"},
      {nullptr, nullptr, "ja_JP.UTF-8", "ja_JP.UTF-8"},
      {"", "", "", nullptr},
      {nullptr, nullptr, nullptr, nullptr},
      {"ru_RU", nullptr, "ru_RU.UTF-8", "ru_RU"},
      {nullptr, "ja_JP.eucJP", "ja_JP.UTF-8", "ja_JP.eucJP"},
  };
  for (const auto& c : cases) {
    const char* const shown[] = {c.lcAll, c.lcMessages, c.lang};
    std::string trace;
    for (const char* value : shown) trace += value == nullptr ? "(unset) " : "\"" + std::string(value) + "\" ";
    SCOPED_TRACE(trace);
    ScopedLocale locale(c.lcAll, c.lcMessages, c.lang);
    EXPECT_STREQ(c.locale, MessageLocale());
    // The texts are those of that locale alone, in its character set.
    ScopedLocale only(nullptr, nullptr, c.locale);
    std::string want = Str(GetMessage(ERR_CANCELED));
    ScopedLocale again(c.lcAll, c.lcMessages, c.lang);
    EXPECT_EQ(want, Str(GetMessage(ERR_CANCELED)));
  }
}

TEST(LanguageSelection, FollowsLangFromOneMessageToTheNext) {
  ScopedLang lang("de_DE");
  EXPECT_EQ("Vom Benutzer abgebrochen.", GetMessage(ERR_CANCELED));
  ScopedLang::set("fr_FR");
  EXPECT_EQ("Annule par l'utilisateur.", GetMessage(ERR_CANCELED));
  ScopedLang::set(nullptr);
  EXPECT_EQ("Canceled by the user.", GetMessage(ERR_CANCELED));
}

// Each language is decoded on its first use and kept; going back and forth
// between them gives each its own texts every time.
TEST(LanguageSelection, EveryLanguageKeepsItsOwnTextsAsTheLocaleChanges) {
  ScopedLang lang(nullptr);
  for (int round = 0; round < 2; ++round) {
    for (int step = 0; step < kLanguageCount; ++step) {
      // Forward in the first round, backward and interleaved in the second.
      int index = round == 0 ? step : (kLanguageCount - 1 - step + 2 * (step % 2)) % kLanguageCount;
      const char* code = kCatalogueLanguages[index].code;
      SCOPED_TRACE(code);
      ScopedLang::set((std::string(code) + ".UTF-8").c_str());
      EXPECT_EQ(TranslationText(code, 38), Str(GetMessage(ERR_CANCELED)));
      EXPECT_EQ(Formatted(TranslationText(code, MSG_VERIFYING), "x"), Str(FormatMessage(MSG_VERIFYING, "x")));
    }
  }
}
