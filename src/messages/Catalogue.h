// The message catalogue: 22 languages of the same texts each, every language both
// in UTF-8 and in its own legacy encoding, and the choice of language from
// the user's locale. The tables are generated at build time from the UTF-8
// files in translations/ by generate_catalogue.py, which also checks them.
#pragma once

const int kLanguageCount = 22;
// Ids run below this; the ids that English leaves out are gaps in every
// language (a null text).
const int kCatalogueTexts = 100;

struct CatalogueLanguage {
  // Matched against the locale name; also text 0 of the language.
  const char* code;
  // The usual name of the legacy encoding ("ISO-8859-5", "EUC-JP").
  const char* legacyCharset;
  // kCatalogueTexts texts indexed by message id (null in a gap), then a
  // null end marker:
  // the same texts in the legacy encoding and in UTF-8.
  const char* const* legacyTexts;
  const char* const* utf8Texts;
};

// In the fixed table order that language selection relies on.
extern const CatalogueLanguage kCatalogueLanguages[kLanguageCount];

// The language index for a locale name such as "de_DE.UTF-8" (null when no
// locale variable is set).
int LanguageForLocale(const char* locale);
