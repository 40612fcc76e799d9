// Choosing the language of the catalogue from the user's locale.
#include "messages/Catalogue.h"

#include <cstring>

#include "messages/Messages.h"
#include "messages/UserLocale.h"

int LanguageForLocale(const char* locale) {
  if (locale == nullptr || std::strcmp(locale, "C") == 0) return 0;
  // First the full five-character codes (pt_BR, zh_TW) against the start of
  // the name; a two-letter code matches here only when the name is exactly
  // that code, so "pt_BR.UTF-8" is not taken for "pt".
  for (int i = 0; i < kLanguageCount; ++i) {
    if (std::strncmp(kCatalogueLanguages[i].code, locale, 5) == 0) return i;
  }
  // Then any code that the name starts with: "de_DE" is German.
  for (int i = 0; i < kLanguageCount; ++i) {
    const char* code = kCatalogueLanguages[i].code;
    if (std::strncmp(code, locale, std::strlen(code)) == 0) return i;
  }
  return 0;
}

// The locale is read for every message, so a change shows at the next one.
int SelectLanguage() { return LanguageForLocale(MessageLocale()); }
