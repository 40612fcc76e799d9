#include <gtest/gtest.h>

#include <climits>
#include <string>

#include "messages/Catalogue.h"
#include "messages/ConsoleFixture.h"
#include "messages/Messages.h"
#include "messages/TranslationFiles.h"

namespace {

const int kGerman = 3;
const int kGreek = 4;
const int kJapanese = 10;
const int kRussian = 17;
const int kSimplifiedChinese = 20;
const int kTraditionalChinese = 21;

std::string Str(const SString& s) { return std::string(s.c_str(), s.length()); }

}  // namespace

TEST(FormatMessage, PutsTheArgumentInPlaceOfThePlaceholder) {
  ScopedLang lang("C");
  const struct {
    int id;
    const char* arg;
    const char* want;
  } cases[] = {
      {MSG_INITIALIZING, "Demo", "Initializing Demo..."},
      {MSG_COULD_NOT_LAUNCH, "java", "java could not be launched."},
      {MSG_INITIALIZING, nullptr, "Initializing ..."},
      {MSG_INITIALIZING, "100%s %d", "Initializing 100%s %d..."},
      {MSG_NO_JVM_FOUND, "ignored", "No Java(tm) Virtual Machine was found."},
      {35, nullptr,
       "Quillon(R) is preparing the Quillon Wizard, which\\nwill guide you through the rest of the setup "
       "process.\\nPlease wait..."},
  };
  for (const auto& c : cases) EXPECT_EQ(c.want, FormatMessage(c.id, c.arg)) << "id " << c.id;
}

TEST(FormatMessage, IdOutsideTheCatalogueGivesTheErrorText) {
  ScopedLang lang("de_DE.UTF-8");
  const struct {
    int id;
    const char* want;
  } cases[] = {
      {99, "Error displaying message: id(99)"},  // a gap
      {100, "Error displaying message: id(100)"},   {-1, "Error displaying message: id(-1)"},
      {1000, "Error displaying message: id(1000)"}, {INT_MIN, "Error displaying message: id(-2147483648)"},
  };
  for (const auto& c : cases) EXPECT_EQ(c.want, FormatMessage(c.id, "x"));
}

TEST(FormatMessage, CutsResultsAt1023BytesWhateverTheArgument) {
  const std::string huge(100000, 'a');
  for (const char* lang : {"C", "ru_RU.UTF-8", "ja_JP"}) {
    SCOPED_TRACE(lang);
    ScopedLang scoped(lang);
    SString text = FormatMessage(MSG_SEARCHING_FOR, huge.c_str());
    EXPECT_EQ(1023u, text.length());
    EXPECT_EQ('a', text[1022]);
  }
  ScopedLang scoped("C");
  EXPECT_EQ(std::string(1023, 'a'), Str(FormatMessage(MSG_COULD_NOT_LAUNCH, huge.c_str())));
  std::string fits(1023 - std::string(" could not be launched.").size(), 'b');
  EXPECT_EQ(fits + " could not be launched.", Str(FormatMessage(MSG_COULD_NOT_LAUNCH, fits.c_str())));
}

// What users of a UTF-8 terminal read: the translators' own text, with
// every letter, however the locale spells UTF-8.
TEST(FormatMessage, GivesTheUtf8TextWhenTheLocaleNamesUtf8) {
  const struct {
    const char* lang;
    const char* code;
    int id;
    const char* arg;
  } cases[] = {
      {"de_DE.UTF-8", "de", MSG_VERIFYING, "JDK"},
      {"de_AT.utf8", "de", MSG_SUPPLY_DESTINATION, nullptr},
      {"ru_RU.UTF-8", "ru", MSG_SEARCHING_FOR_JVM, nullptr},
      {"ru_RU.utf8", "ru", 38, nullptr},
      {"ru_RU.UTF-8@latin", "ru", MSG_VERIFYING, "JDK"},
      {"ja_JP.UTF-8", "ja", MSG_NO_JVM_FOUND, nullptr},
      {"ja_JP.UTF8", "ja", MSG_COULD_NOT_LAUNCH, "java"},
      {"ja_JP.Utf-8", "ja", 33, nullptr},
      {"ko_KR.UTF-8", "ko", MSG_NO_JVM_FOUND, nullptr},
      {"zh_CN.UTF-8", "zh", MSG_NO_JVM_FOUND, nullptr},
      {"zh_TW.UTF-8", "zh_TW", MSG_NO_JVM_FOUND, nullptr},
      {"el_GR.UTF-8", "el", MSG_NO_JVM_FOUND, nullptr},
      {"cs_CZ.UTF-8", "cs", MSG_NO_JVM_FOUND, nullptr},
      {"pl_PL.UTF-8", "pl", 22, nullptr},
      {"hu_HU.UTF-8", "hu", MSG_VERIFYING, "JDK"},
      {"tr_TR.UTF-8", "tr", MSG_COULD_NOT_LAUNCH, "java"},
      {"fi_FI.UTF-8", "fi", MSG_NO_JVM_FOUND, nullptr},
      {"pt_PT.UTF-8", "pt", MSG_COULD_NOT_LAUNCH, "java"},
      {"pt_BR.UTF-8", "pt_BR", MSG_COULD_NOT_LAUNCH, "java"},
      {"fr_FR.UTF-8", "fr", 38, nullptr},
      {"sv_SE.UTF-8", "sv", MSG_NO_JVM_FOUND, nullptr},
      {"C.UTF-8", "en", MSG_VERIFYING, "JDK"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.lang);
    ScopedLang lang(c.lang);
    std::string want = Formatted(TranslationText(c.code, c.id), c.arg == nullptr ? "" : c.arg);
    EXPECT_EQ(want, Str(FormatMessage(c.id, c.arg))) << "id " << c.id;
  }
  // The letters themselves, not a spelling without them.
  ScopedLang lang("de_DE.UTF-8");
  EXPECT_EQ("JDK wird überprüft", Str(FormatMessage(MSG_VERIFYING, "JDK")));
}

// Any locale that names no character set, the table's own or any other
// gets the legacy table's bytes: the launcher converts to nothing else.
TEST(FormatMessage, GivesTheLegacyBytesForAnyOtherCharset) {
  const struct {
    const char* lang;
    int language;
  } cases[] = {
      {"ru_RU", kRussian},  // names no charset
      {"ru", kRussian},
      {"ru_RU.", kRussian},
      {"ru_RU@euro", kRussian},
      {"ru_RU.ISO-8859-5", kRussian},  // the table's own, spelled three ways
      {"ru_RU.ISO8859-5", kRussian},
      {"ru_RU.iso88595", kRussian},
      {"ru_RU.KOI8-R", kRussian},  // foreign ones
      {"ru_RU.CP1251", kRussian},
      {"ru_RU.ISO-8859-1", kRussian},
      {"ru_RU.UTF-16", kRussian},
      {"ru_RU.UTF-8x", kRussian},
      {"el_GR.ISO-8859-7", kGreek},
      {"ja_JP", kJapanese},
      {"ja_JP.eucJP", kJapanese},
      {"ja_JP.EUC-JP", kJapanese},
      {"ja_JP.SJIS", kJapanese},
      {"zh_TW.Big5", kTraditionalChinese},
      {"de_DE", kGerman},
      {"de_DE.ISO-8859-15@euro", kGerman},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.lang);
    ScopedLang lang(c.lang);
    // "%s" as the argument gives back the whole stored text.
    for (int id = 1; id < kCatalogueTexts; ++id) {
      if (kCatalogueLanguages[0].legacyText(id) == nullptr) continue;
      EXPECT_EQ(kCatalogueLanguages[c.language].legacyText(id), Str(FormatMessage(id, "%s"))) << "id " << id;
    }
  }
}

// The legacy bytes are the translators' text in the legacy encoding, as a
// terminal set up for that encoding reads them.
TEST(FormatMessage, LegacyBytesReadAsTheTranslatorsText) {
  const struct {
    const char* lang;
    const char* code;
    const char* charset;
    int id;
  } cases[] = {
      {"ru_RU", "ru", "ISO-8859-5", MSG_SEARCHING_FOR_JVM},
      {"ru_RU.ISO-8859-5", "ru", "ISO-8859-5", 33},
      {"ja_JP.eucJP", "ja", "EUC-JP", MSG_NO_JVM_FOUND},
      {"ja_JP", "ja", "EUC-JP", 33},
      {"zh_CN.GB2312", "zh", "GB2312", 38},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.lang);
    ScopedLang lang(c.lang);
    EXPECT_EQ(TranslationText(c.code, c.id), ToUtf8(Str(FormatMessage(c.id, nullptr)), c.charset)) << "id " << c.id;
  }
  ScopedLang lang("de_DE");
  EXPECT_EQ("JDK wird ueberprueft", Str(FormatMessage(MSG_VERIFYING, "JDK")));
}

// The argument (a path, the title) is not catalogue text: it must come
// through byte for byte, even when the catalogue text around it is converted.
TEST(FormatMessage, NeverConvertsTheArgument) {
  ScopedLang lang("ru_RU.UTF-8");
  EXPECT_EQ("Поиск /opt/caf\xe9", Str(FormatMessage(MSG_SEARCHING_FOR, "/opt/caf\xe9")));
  EXPECT_EQ("Поиск Поиск", Str(FormatMessage(MSG_SEARCHING_FOR, "Поиск")));
}

TEST(GetMessage, GivesTheTextOfEachErrorCode) {
  ScopedLang lang("C");
  const struct {
    int code;
    const char* want;
  } cases[] = {
      {ERR_LOAD_INPUT_FILE, "Could not load the input file."},
      {ERR_INVALID_ACTION, "Invalid action in input file: "},
      {ERR_NO_SUITABLE_JVM,
       "A suitable JVM could not be found. Please run the installer again using the option -lx:javahome "
       "<JAVA HOME DIR>"},
      {ERR_OPEN_INPUT_FILE, "Unable to open input file specified on the command line after the -in option."},
      {ERR_WRITING_FILE, "Error writing file = "},
      {ERR_DISK_SPACE_HINT,
       " There may not be enough temporary disk space. Try using -lx:tempdir to use a temporary directory on a "
       "partition with more disk space."},
      {ERR_CANCELED, "Canceled by the user."},
      {-1, ""},
      {18, ""},
      {34, ""},
  };
  for (const auto& c : cases) EXPECT_EQ(c.want, GetMessage(c.code)) << "code " << c.code;
}

TEST(GetMessage, ComesInTheTerminalsCharset) {
  ScopedLang lang("ja_JP.UTF-8");
  EXPECT_EQ("ユーザーによって取り消されました。", Str(GetMessage(ERR_CANCELED)));
  ScopedLang::set("zh_CN.GB2312");
  EXPECT_EQ(kCatalogueLanguages[kSimplifiedChinese].legacyText(38), Str(GetMessage(ERR_CANCELED)));
  EXPECT_EQ("已被用户取消。", ToUtf8(Str(GetMessage(ERR_CANCELED)), "GB2312"));
}
