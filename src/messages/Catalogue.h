// The message catalogue: 22 languages of the same texts each, every language both
// in UTF-8 and in its own legacy encoding, and the choice of language from
// the user's locale. The tables are generated at build time from the UTF-8
// files in translations/ by generate_catalogue.py, which also checks them.
//
// A run shows one language, so every language but English is carried as a
// raw deflate stream and decoded when its first text is asked for; English
// is carried as it is, for the many runs that show it and as the texts to
// fall back to.
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
  // Every text of the language, each ending in a null byte, textSize bytes
  // in all: as they are when packedSize is 0, else compressed into a raw
  // deflate stream of packedSize bytes.
  const char* textBytes;
  unsigned short packedSize;
  unsigned short textSize;
  // kCatalogueTexts offsets into the texts indexed by message id (kNoText
  // in a gap), then kNoText as an end marker: the same texts in the legacy
  // encoding and in UTF-8.
  const unsigned short* legacyOffsets;
  const unsigned short* utf8Offsets;
  // The texts decoded, on the first call of texts(); kept for the rest of
  // the process, since a message can be asked for up to its very end.
  mutable const char* decodedTexts = nullptr;
  // The stream did not decode: it will not the next time either.
  mutable bool damaged = false;

  // The text of an id (null in a gap). When the language's texts cannot
  // be decoded (memory ran out, or the stream is damaged), the English
  // text of the id: every language has the same ids, and English, plain
  // ASCII, reads right in every encoding.
  const char* legacyText(int id) const;
  const char* utf8Text(int id) const;
  // The language's texts ready to read, decoded on the first call; null
  // when they cannot be.
  const char* texts() const;
};

// In the fixed table order that language selection relies on.
extern const CatalogueLanguage kCatalogueLanguages[kLanguageCount];

// The language index for a locale name such as "de_DE.UTF-8" (null when no
// locale variable is set).
int LanguageForLocale(const char* locale);
