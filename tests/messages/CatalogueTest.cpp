#include <gtest/gtest.h>

#include <cstdlib>
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

// A raw deflate stream of one stored block: the bytes as they are, behind
// the block's header and length.
std::string StoredBlock(const std::string& bytes) {
  size_t length = bytes.size();
  std::string stream = {'\x01', static_cast<char>(length & 0xFF), static_cast<char>(length >> 8),
                        static_cast<char>(~length & 0xFF), static_cast<char>((~length >> 8) & 0xFF)};
  return stream + bytes;
}

// A language with German's tables whose texts are the stream given.
CatalogueLanguage LanguageOfStream(const std::string& stream) {
  const CatalogueLanguage& german = Language(kGerman);
  return {"xx",
          "ASCII",
          stream.data(),
          static_cast<unsigned short>(stream.size()),
          german.textSize,
          german.legacyOffsets,
          german.utf8Offsets};
}

// German's texts, decoded.
std::string GermanTexts() { return std::string(Language(kGerman).texts(), Language(kGerman).textSize); }

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

// Each language is decoded once, when its first text is asked for, and its
// texts stay where they are for the rest of the process: a text handed out
// earlier is still good after any number of others.
TEST(Catalogue, DecodesEachLanguageOnceAndKeepsItsTexts) {
  for (int lang = 0; lang < kLanguageCount; ++lang) {
    SCOPED_TRACE(Language(lang).code);
    const CatalogueLanguage& language = Language(lang);
    const char* texts = language.texts();
    ASSERT_NE(nullptr, texts);
    EXPECT_EQ(texts, language.texts());
    EXPECT_EQ('\0', texts[language.textSize - 1]);
    for (int id = 0; id < kCatalogueTexts; ++id) {
      if (!InUse(id)) continue;
      for (const char* text : {language.legacyText(id), language.utf8Text(id)}) {
        EXPECT_TRUE(text >= texts && text < texts + language.textSize) << "id " << id;
      }
    }
  }
  std::string cancelled = Utf8Text(kGerman, 38);
  const char* first = Language(kGerman).utf8Text(38);
  for (int lang = 0; lang < kLanguageCount; ++lang) Language(lang).texts();
  EXPECT_EQ(first, Language(kGerman).utf8Text(38));
  EXPECT_EQ(cancelled, first);
}

// A language whose texts do not decode to exactly what the catalogue
// announced (it cannot happen with the streams the build makes, but a
// damaged program should still speak) shows the English texts, which need
// no decoding, and is not decoded again.
TEST(Catalogue, ALanguageWhoseTextsDoNotDecodeShowsTheEnglishOnes) {
  ASSERT_EQ(0, Language(kEnglish).packedSize) << "English is the fallback, so it must need no decoding";
  std::string german = GermanTexts();
  std::string unterminated = german;
  unterminated.back() = 'x';
  const struct {
    const char* what;
    std::string stream;
  } cases[] = {
      {"a block of the reserved type", "\xff\xff\xff\xff"},
      {"a stream cut short", StoredBlock(german).substr(0, 1000)},
      {"fewer bytes than announced", StoredBlock(german.substr(0, german.size() - 2) + '\0')},
      {"more bytes than announced", StoredBlock(german + "Mehr als erwartet")},
      {"the last text without its end", StoredBlock(unterminated)},
      {"bytes after the stream", StoredBlock(german) + "x"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    CatalogueLanguage language = LanguageOfStream(c.stream);
    EXPECT_EQ(nullptr, language.texts());
    EXPECT_TRUE(language.damaged);
    for (int id = 0; id <= kCatalogueTexts; ++id) {
      EXPECT_STREQ(Language(kEnglish).legacyText(id), language.legacyText(id)) << "id " << id;
      EXPECT_STREQ(Language(kEnglish).utf8Text(id), language.utf8Text(id)) << "id " << id;
    }
    EXPECT_EQ(nullptr, language.decodedTexts);
  }
  // The same stream, whole, is German.
  std::string whole = StoredBlock(german);
  CatalogueLanguage language = LanguageOfStream(whole);
  EXPECT_EQ("%s wird ueberprueft", std::string(language.legacyText(MSG_VERIFYING)));
  EXPECT_EQ("%s wird überprüft", std::string(language.utf8Text(MSG_VERIFYING)));
  EXPECT_FALSE(language.damaged);
  // Kept for the process in the catalogue's own languages; this one ends
  // with the test.
  std::free(const_cast<char*>(language.decodedTexts));
}
