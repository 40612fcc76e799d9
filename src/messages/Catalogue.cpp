// Choosing the language of the catalogue from the user's locale, and its
// texts in the legacy encoding.
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

namespace {

// A character's code point from the UTF-8 bytes at text, which the
// generator wrote, and its length in bytes.
unsigned DecodeUtf8(const unsigned char* text, int& length) {
  if (text[0] < 0xE0) {
    length = 2;
    return (text[0] & 0x1Fu) << 6 | (text[1] & 0x3Fu);
  }
  length = 3;
  return (text[0] & 0x0Fu) << 12 | (text[1] & 0x3Fu) << 6 | (text[2] & 0x3Fu);
}

const CatalogueCharacter* FindCharacter(const CatalogueLanguage& language, unsigned codePoint) {
  int low = 0, high = language.legacyCharacterCount;
  while (low < high) {
    int middle = (low + high) / 2;
    if (language.legacyCharacters[middle].codePoint < codePoint) {
      low = middle + 1;
    } else {
      high = middle;
    }
  }
  return low < language.legacyCharacterCount && language.legacyCharacters[low].codePoint == codePoint
             ? &language.legacyCharacters[low]
             : nullptr;
}

}  // namespace

const char* CatalogueLanguage::legacyText(int id) const {
  static char legacy[kMostTextBytes + 1];
  const unsigned char* text = reinterpret_cast<const unsigned char*>(utf8Text(id));
  if (text == nullptr) return nullptr;
  size_t out = 0;
  for (int length = 1; *text != '\0'; text += length) {
    length = 1;
    if (*text < 0x80) {
      legacy[out++] = static_cast<char>(*text);
      continue;
    }
    // Every character of the texts is in the table, and its legacy bytes
    // are no more than its UTF-8 ones (the generator makes sure of both).
    const CatalogueCharacter* character = FindCharacter(*this, DecodeUtf8(text, length));
    for (const char* bytes = character ? character->legacy : "?"; *bytes != '\0'; ++bytes) legacy[out++] = *bytes;
  }
  legacy[out] = '\0';
  return legacy;
}

// The locale is read for every message, so a change shows at the next one.
int SelectLanguage() { return LanguageForLocale(MessageLocale()); }
