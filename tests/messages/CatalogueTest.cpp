#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "messages/Catalogue.h"
#include "messages/ConsoleFixture.h"
#include "messages/Messages.h"

namespace {

const int kEnglish = 0;

const CatalogueLanguage& Language(int index) { return kCatalogueLanguages[index]; }

std::string Text(int language, int id) { return Language(language).texts[id]; }

// The text as a reader sees it: the stored bytes decoded from the
// language's encoding.
std::string Readable(int language, int id) { return ToUtf8(Text(language, id), Language(language).charset); }

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

}  // namespace

TEST(Catalogue, KeepsTheLanguagesInTheirFixedOrder) {
  const char* const codes[kLanguageCount] = {"en", "cs", "da", "de", "el", "es",    "fi", "fr", "hu", "it", "ja",
                                             "ko", "nl", "no", "pl", "pt", "pt_BR", "ru", "sv", "tr", "zh", "zh_TW"};
  for (int i = 0; i < kLanguageCount; ++i) EXPECT_STREQ(codes[i], Language(i).code) << "index " << i;
}

TEST(Catalogue, EveryLanguageHasAllTextsThenTheEndMarker) {
  for (int lang = 0; lang < kLanguageCount; ++lang) {
    SCOPED_TRACE(Language(lang).code);
    for (int id = 0; id < kCatalogueTexts; ++id) ASSERT_NE(nullptr, Language(lang).texts[id]) << "id " << id;
    EXPECT_EQ(nullptr, Language(lang).texts[kCatalogueTexts]);
    EXPECT_EQ(Language(lang).code, Text(lang, MSG_LANGUAGE_CODE));
    EXPECT_EQ("LauncherMain", Text(lang, MSG_LAUNCHER_MAIN));
    EXPECT_EQ(".", Text(lang, MSG_PROGRESS_DOT));
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
      std::string readable = Readable(lang, id);
      EXPECT_NE("<invalid>", readable) << "id " << id;
      EXPECT_NE("<no converter>", readable) << "id " << id;
    }
  }
}

TEST(Catalogue, PlaceholdersAreTheEnglishOnes) {
  for (int lang = 0; lang < kLanguageCount; ++lang) {
    SCOPED_TRACE(Language(lang).code);
    for (int id = 0; id < kCatalogueTexts; ++id) {
      EXPECT_EQ(Placeholders(Text(kEnglish, id)), Placeholders(Readable(lang, id))) << "id " << id;
    }
  }
}

TEST(Catalogue, TranslationsLeaveNoEnglishTextBehind) {
  for (int lang = 1; lang < kLanguageCount; ++lang) {
    SCOPED_TRACE(Language(lang).code);
    for (int id = 0; id < kCatalogueTexts; ++id) {
      if (id == MSG_LAUNCHER_MAIN || id == MSG_PROGRESS_DOT) continue;
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
