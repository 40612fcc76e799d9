// The message catalogue: 22 languages of the same texts each, every language both
// in UTF-8 and in its own legacy encoding, and the choice of language from
// the user's locale. The tables are generated at build time from the UTF-8
// files in translations/ by generate_catalogue.py, which also checks them.
#pragma once

const int kLanguageCount = 22;
// Ids run below this; the ids that English leaves out are gaps in every
// language (a null text).
const int kCatalogueTexts = 100;

// The offset of a gap (an id with no text) in a language's tables.
const unsigned short kNoText = 65535;

struct CatalogueLanguage {
  // Matched against the locale name; also text 0 of the language.
  const char* code;
  // The usual name of the legacy encoding ("ISO-8859-5", "EUC-JP").
  const char* legacyCharset;
  // Every text of the language, each ending in a null byte.
  const char* textBytes;
  // kCatalogueTexts offsets into textBytes indexed by message id (kNoText
  // in a gap), then kNoText as an end marker: the same texts in the legacy
  // encoding and in UTF-8.
  const unsigned short* legacyOffsets;
  const unsigned short* utf8Offsets;

  // The text of an id (null in a gap).
  const char* legacyText(int id) const { return textAt(legacyOffsets[id]); }
  const char* utf8Text(int id) const { return textAt(utf8Offsets[id]); }

 private:
  const char* textAt(unsigned short offset) const { return offset == kNoText ? nullptr : textBytes + offset; }
};

// In the fixed table order that language selection relies on.
extern const CatalogueLanguage kCatalogueLanguages[kLanguageCount];

// The language index for a locale name such as "de_DE.UTF-8" (null when no
// locale variable is set).
int LanguageForLocale(const char* locale);
