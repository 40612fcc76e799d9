// The message catalogue: 22 languages of the same texts each, every language both
// in UTF-8 and in its own legacy encoding, and the choice of language from
// the user's locale. The tables are generated at build time from the UTF-8
// files in translations/ by generate_catalogue.py, which also checks them.
// They hold the texts once, in UTF-8, with the legacy bytes of every
// character outside ASCII that a language's texts use: a legacy text is put
// together from those, as the program, which is bounded in size, could not
// carry every text twice, and has no converter of its own.
#pragma once

const int kLanguageCount = 22;
// Ids run below this; the ids that English leaves out are gaps in every
// language (a null text).
const int kCatalogueTexts = 100;

// The offset of a gap (an id with no text) in a language's tables.
const unsigned short kNoText = 65535;
// The longest text in UTF-8; the generator refuses a longer one. Its legacy
// bytes are never more.
const int kMostTextBytes = 1023;

// A character outside ASCII and its bytes in a legacy encoding, or the
// ASCII letters that spell it out.
struct CatalogueCharacter {
  unsigned short codePoint;
  char legacy[4];  // ends in a null byte
};

struct CatalogueLanguage {
  // Matched against the locale name; also text 0 of the language.
  const char* code;
  // The usual name of the legacy encoding ("ISO-8859-5", "EUC-JP").
  const char* legacyCharset;
  // Every text of the language in UTF-8, each ending in a null byte.
  const char* textBytes;
  // kCatalogueTexts offsets into textBytes indexed by message id (kNoText
  // in a gap), then kNoText as an end marker.
  const unsigned short* utf8Offsets;
  // Every character outside ASCII that the texts use, by code point.
  const CatalogueCharacter* legacyCharacters;
  int legacyCharacterCount;

  // The text of an id (null in a gap).
  const char* utf8Text(int id) const { return utf8Offsets[id] == kNoText ? nullptr : textBytes + utf8Offsets[id]; }
  // The same in the legacy encoding (null in a gap). It is put together
  // in one buffer for all languages, which the next call fills anew: copy
  // it before asking for another.
  const char* legacyText(int id) const;
};

// In the fixed table order that language selection relies on.
extern const CatalogueLanguage kCatalogueLanguages[kLanguageCount];

// The language index for a locale name such as "de_DE.UTF-8" (null when no
// locale variable is set).
int LanguageForLocale(const char* locale);
