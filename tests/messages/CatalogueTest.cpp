#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "messages/Catalogue.h"
#include "messages/ConsoleFixture.h"
#include "messages/Messages.h"
#include "messages/TranslationFiles.h"

namespace {

const int kEnglish = 0;
const int kGerman = 3;

const CatalogueLanguage& Language(int index) { return kCatalogueLanguages[index]; }

// The legacy table's text.
std::string Text(int language, int id) { return Language(language).legacyText(id); }

std::string Utf8Text(int language, int id) { return Language(language).utf8Text(id); }

// The legacy text as a reader sees it: the stored bytes decoded from the
// language's legacy encoding.
std::string Readable(int language, int id) { return ToUtf8(Text(language, id), Language(language).legacyCharset); }

bool IsAscii(const std::string& text) {
  for (char c : text) {
    if (static_cast<unsigned char>(c) > 0x7F) return false;
  }
  return true;
}

// Every '%' with the character after it: what a printf-style format would
// take as conversions.
std::vector<std::string> Placeholders(const std::string& text) {
  std::vector<std::string> found;
  for (size_t i = text.find('%'); i != std::string::npos; i = text.find('%', i + 2)) {
    found.push_back(text.substr(i, 2));
  }
  return found;
}

bool IsBlank(char c) { return c == ' '; }

// Ids that English leaves out are gaps, null in every table.
bool InUse(int id) { return Language(kEnglish).legacyText(id) != nullptr; }

}  // namespace

TEST(Catalogue, KeepsTheLanguagesInTheirFixedOrder) {
  const char* const codes[kLanguageCount] = {"en", "cs", "da", "de", "el", "es",    "fi", "fr", "hu", "it", "ja",
                                             "ko", "nl", "no", "pl", "pt", "pt_BR", "ru", "sv", "tr", "zh", "zh_TW"};
  for (int i = 0; i < kLanguageCount; ++i) EXPECT_STREQ(codes[i], Language(i).code) << "index " << i;
}

TEST(Catalogue, EveryLanguageHasTheEnglishIdsThenTheEndMarker) {
  for (int lang = 0; lang < kLanguageCount; ++lang) {
    SCOPED_TRACE(Language(lang).code);
    const CatalogueLanguage& language = Language(lang);
    for (bool utf8 : {false, true}) {
      auto text = [&](int id) { return utf8 ? language.utf8Text(id) : language.legacyText(id); };
      for (int id = 0; id < kCatalogueTexts; ++id) ASSERT_EQ(InUse(id), text(id) != nullptr) << "id " << id;
      EXPECT_EQ(nullptr, text(kCatalogueTexts));
      EXPECT_STREQ(language.code, text(MSG_LANGUAGE_CODE));
      EXPECT_STREQ("LauncherMain", text(MSG_LAUNCHER_MAIN));
      EXPECT_STREQ(".", text(MSG_PROGRESS_DOT));
    }
  }
}

TEST(Catalogue, EnglishTextsStandExactlyAsGiven) {
  const struct {
    int id;
    const char* text;
  } cases[] = {
      {1, "Initializing %s..."},
      {5, "%s could not be launched."},
      {16, "Scanning disk(s) for a Java(tm) Virtual Machine..."},
      {24, "Invalid action in input file: "},
      {26, "Unable to extract embedded files from the launcher. "},
      {27, "Unable to load the launcher file index. "},
      {31,
       "A suitable JVM could not be found. Please run the installer again using the option -lx:javahome "
       "<JAVA HOME DIR>"},
      {35,
       "Quillon(R) is preparing the Quillon Wizard, which\\nwill guide you through the rest of the setup "
       "process.\\nPlease wait..."},
      {36, "Error writing file = "},
      {37,
       " There may not be enough temporary disk space. Try using -lx:tempdir to use a temporary directory on a "
       "partition with more disk space."},
      {38, "Canceled by the user."},
  };
  for (const auto& c : cases) EXPECT_EQ(c.text, Text(kEnglish, c.id)) << "id " << c.id;
}

TEST(Catalogue, StoredBytesAreValidInTheLanguagesEncoding) {
  for (int lang = 0; lang < kLanguageCount; ++lang) {
    SCOPED_TRACE(Language(lang).code);
    for (int id = 0; id < kCatalogueTexts; ++id) {
      if (!InUse(id)) continue;
      std::string readable = Readable(lang, id);
      EXPECT_NE("<invalid>", readable) << "id " << id;
      EXPECT_NE("<no converter>", readable) << "id " << id;
    }
  }
}

TEST(Catalogue, Utf8TablesHoldTheTranslatorsTexts) {
  for (int lang = 0; lang < kLanguageCount; ++lang) {
    SCOPED_TRACE(Language(lang).code);
    for (int id = 0; id < kCatalogueTexts; ++id) {
      if (!InUse(id)) continue;
      EXPECT_EQ(TranslationText(Language(lang).code, id), Utf8Text(lang, id)) << "id " << id;
    }
  }
}

// The two tables of a language say the same: the legacy one decodes to the
// UTF-8 one, except that an ASCII table spells out the letters ASCII lacks
// (and is the UTF-8 text wherever that is plain ASCII already).
TEST(Catalogue, LegacyTablesSayWhatTheUtf8TablesSay) {
  for (int lang = 0; lang < kLanguageCount; ++lang) {
    SCOPED_TRACE(Language(lang).code);
    bool ascii = std::string(Language(lang).legacyCharset) == "ASCII";
    for (int id = 0; id < kCatalogueTexts; ++id) {
      if (!InUse(id)) continue;
      if (!ascii) {
        EXPECT_EQ(Utf8Text(lang, id), Readable(lang, id)) << "id " << id;
      } else if (IsAscii(Utf8Text(lang, id))) {
        EXPECT_EQ(Utf8Text(lang, id), Text(lang, id)) << "id " << id;
      } else {
        EXPECT_TRUE(IsAscii(Text(lang, id))) << "id " << id;
      }
    }
  }
  // A spelled-out text, to be sure the two German tables differ as they must.
  EXPECT_EQ("%s wird überprüft", Utf8Text(kGerman, MSG_VERIFYING));
  EXPECT_EQ("%s wird ueberprueft", Text(kGerman, MSG_VERIFYING));
}

TEST(Catalogue, PlaceholdersAreTheEnglishOnes) {
  for (int lang = 0; lang < kLanguageCount; ++lang) {
    SCOPED_TRACE(Language(lang).code);
    for (int id = 0; id < kCatalogueTexts; ++id) {
      if (!InUse(id)) continue;
      EXPECT_EQ(Placeholders(Text(kEnglish, id)), Placeholders(Readable(lang, id))) << "id " << id;
    }
  }
}

TEST(Catalogue, TranslationsLeaveNoEnglishTextBehind) {
  for (int lang = 1; lang < kLanguageCount; ++lang) {
    SCOPED_TRACE(Language(lang).code);
    for (int id = 0; id < kCatalogueTexts; ++id) {
      if (!InUse(id)) continue;
      if (!InUse(id) || id == MSG_LAUNCHER_MAIN || id == MSG_PROGRESS_DOT) continue;
      EXPECT_NE(Text(kEnglish, id), Text(lang, id)) << "id " << id;
    }
  }
}

// Options and product names are typed or recognised as they are, in every
// language.
TEST(Catalogue, TranslationsKeepOptionAndProductNames) {
  const char* const kept[] = {"-lx:javahome", "-lx:tempdir", "'-in'",      "-in",
                              "-log",         "Java(tm)",    "Quillon(R)", "Quillon"};
  for (int lang = 1; lang < kLanguageCount; ++lang) {
    SCOPED_TRACE(Language(lang).code);
    for (int id = 0; id < kCatalogueTexts; ++id) {
      if (!InUse(id)) continue;
      for (const char* name : kept) {
        if (Text(kEnglish, id).find(name) == std::string::npos) continue;
        EXPECT_NE(std::string::npos, Readable(lang, id).find(name)) << "id " << id << " lost " << name;
      }
    }
  }
}

// Some texts are joined to others (a file name, a system error, a further
// hint), and id 35 is shown over three lines.
TEST(Catalogue, TranslationsKeepTheBlanksAndLineBreaksThatJoinTexts) {
  for (int lang = 1; lang < kLanguageCount; ++lang) {
    SCOPED_TRACE(Language(lang).code);
    for (int id = 0; id < kCatalogueTexts; ++id) {
      if (!InUse(id)) continue;
      std::string english = Text(kEnglish, id);
      std::string text = Text(lang, id);
      EXPECT_EQ(IsBlank(english.front()), IsBlank(text.front())) << "id " << id;
      EXPECT_EQ(IsBlank(english.back()), IsBlank(text.back())) << "id " << id;
    }
    std::string lines = Text(lang, 35);
    size_t first = lines.find("\\n");
    ASSERT_NE(std::string::npos, first);
    size_t second = lines.find("\\n", first + 2);
    ASSERT_NE(std::string::npos, second);
    EXPECT_EQ(std::string::npos, lines.find("\\n", second + 2));
  }
}
