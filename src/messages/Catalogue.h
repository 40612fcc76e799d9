// The message catalogue: 22 languages of 39 texts each, every language in
// its own legacy encoding, and the choice of language from LANG. The tables
// are generated at build time from the UTF-8 files in translations/ by
// generate_catalogue.py, which also checks them.
#pragma once

const int kLanguageCount = 22;
const int kCatalogueTexts = 39;

struct CatalogueLanguage {
  // Matched against LANG; also text 0 of the language.
  const char* code;
  // The encoding of texts, by the name the C library's iconv knows it.
  const char* charset;
  // kCatalogueTexts texts indexed by message id, then a null end marker.
  const char* const* texts;
};

// In the fixed table order that language selection relies on.
extern const CatalogueLanguage kCatalogueLanguages[kLanguageCount];

// The language index for a LANG value (null when LANG is unset).
int LanguageForLang(const char* lang);
