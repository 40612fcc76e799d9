#include <gtest/gtest.h>

#include <climits>
#include <string>

#include "messages/Catalogue.h"
#include "messages/ConsoleFixture.h"
#include "messages/Messages.h"

namespace {

const int kRussian = 17;

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
      {39, "Error displaying message: id(39)"},
      {-1, "Error displaying message: id(-1)"},
      {1000, "Error displaying message: id(1000)"},
      {INT_MIN, "Error displaying message: id(-2147483648)"},
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

// What users of a UTF-8 terminal read: the legacy table, converted.
TEST(FormatMessage, ConvertsCatalogueTextToTheCharsetNamedInLang) {
  const struct {
    const char* lang;
    int id;
    const char* arg;
    const char* want;
  } cases[] = {
      {"ru_RU.UTF-8", MSG_SEARCHING_FOR_JVM, nullptr, "Поиск виртуальной машины Java(tm)..."},
      {"ru_RU.utf8", 38, nullptr, "Отменено пользователем."},
      {"ru_RU.UTF-8@latin", MSG_VERIFYING, "JDK", "Проверка JDK"},
      {"ja_JP.UTF-8", MSG_NO_JVM_FOUND, nullptr, "Java(tm) 仮想マシンが見つかりませんでした。"},
      {"ja_JP.UTF-8", MSG_COULD_NOT_LAUNCH, "java", "java を起動できませんでした。"},
      {"de_DE.UTF-8", MSG_VERIFYING, "JDK", "JDK wird ueberprueft"},
      {"ko_KR.UTF-8", MSG_NO_JVM_FOUND, nullptr, "Java(tm) 가상 머신을 찾을 수 없습니다."},
      {"zh_CN.UTF-8", MSG_NO_JVM_FOUND, nullptr, "未找到 Java(tm) 虚拟机。"},
      {"zh_TW.UTF-8", MSG_NO_JVM_FOUND, nullptr, "找不到 Java(tm) 虛擬機器。"},
      {"el_GR.UTF-8", MSG_NO_JVM_FOUND, nullptr, "Δεν βρέθηκε εικονική μηχανή Java(tm)."},
      {"cs_CZ.UTF-8", MSG_NO_JVM_FOUND, nullptr, "Nebyl nalezen žádný virtuální počítač Java(tm)."},
      {"pl_PL.UTF-8", 22, nullptr, "Błąd podczas ładowania pliku JVM."},
      {"hu_HU.UTF-8", MSG_VERIFYING, "JDK", "JDK ellenőrzése"},
      {"tr_TR.UTF-8", MSG_COULD_NOT_LAUNCH, "java", "java başlatılamadı."},
      {"fi_FI.UTF-8", MSG_NO_JVM_FOUND, nullptr, "Java(tm)-virtuaalikonetta ei löytynyt."},
      {"pt_PT.UTF-8", MSG_COULD_NOT_LAUNCH, "java", "Não foi possível iniciar java."},
      {"ru_RU.KOI8-R", MSG_SEARCHING_FOR, "x", "\xf0\xcf\xc9\xd3\xcb x"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.lang);
    ScopedLang lang(c.lang);
    EXPECT_EQ(c.want, Str(FormatMessage(c.id, c.arg))) << "id " << c.id;
  }
}

TEST(FormatMessage, KeepsTheStoredBytesWithoutAUsableCharsetInLang) {
  const struct {
    const char* lang;
    int language;
  } cases[] = {
      {"ru_RU", kRussian},  // names no charset
      {"ru", kRussian},
      {"ru_RU.", kRussian},
      {"ru_RU@euro", kRussian},
      {"ru_RU.ISO-8859-5", kRussian},       // the table's own
      {"ru_RU.NO-SUCH-CHARSET", kRussian},  // no converter
      {"ru_RU.ISO-8859-1", kRussian},       // cannot hold Cyrillic
      {"ru_RU.UTF-16", kRussian},           // would put NULs in the text
      {"el_GR.ISO-8859-7", 4},
      {"ja_JP.eucJP", 10},
      {"zh_TW.Big5", 21},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.lang);
    ScopedLang lang(c.lang);
    // "%s" as the argument gives back the whole stored text.
    for (int id = 1; id < kCatalogueTexts; ++id) {
      EXPECT_EQ(kCatalogueLanguages[c.language].texts[id], Str(FormatMessage(id, "%s"))) << "id " << id;
    }
  }
  ScopedLang lang("ru_RU");
  EXPECT_EQ("Поиск виртуальной машины Java(tm)...",
            ToUtf8(Str(FormatMessage(MSG_SEARCHING_FOR_JVM, nullptr)), "ISO-8859-5"));
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
  EXPECT_EQ("已被用户取消。", ToUtf8(Str(GetMessage(ERR_CANCELED)), "GB2312"));
}
