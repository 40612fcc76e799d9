// Choosing the language of the catalogue from LANG.
#include "messages/Catalogue.h"

#include <cstdlib>
#include <cstring>

#include "messages/Messages.h"

int LanguageForLang(const char* lang) {
  if (lang == nullptr || std::strcmp(lang, "C") == 0) return 0;
  // First the full five-character codes (pt_BR, zh_TW) against the start of
  // LANG; a two-letter code matches here only when LANG is exactly that
  // code, so "pt_BR.UTF-8" is not taken for "pt".
  for (int i = 0; i < kLanguageCount; ++i) {
    if (std::strncmp(kCatalogueLanguages[i].code, lang, 5) == 0) return i;
  }
  // Then any code that LANG starts with: "de_DE" is German.
  for (int i = 0; i < kLanguageCount; ++i) {
    const char* code = kCatalogueLanguages[i].code;
    if (std::strncmp(code, lang, std::strlen(code)) == 0) return i;
  }
  return 0;
}

// LANG is read for every message, so a change shows at the next one.
int SelectLanguage() { return LanguageForLang(std::getenv("LANG")); }
