#include "messages/Utf8Text.h"

#include <algorithm>
#include <cstring>
#include <vector>

#include "messages/Catalogue.h"
#include "messages/Messages.h"
#include "messages/UserLocale.h"

namespace {

// A part of a catalogue text between placeholders, in both tables.
struct Piece {
  const char* legacy;
  size_t legacyLength;
  const char* utf8;
  size_t utf8Length;
};

// Both tables hold the same placeholders in the same order (the generator
// checks it), so the n-th part of one is the n-th part of the other.
void AddPieces(const char* legacy, const char* utf8, std::vector<Piece>& pieces) {
  for (;;) {
    const char* legacyEnd = std::strstr(legacy, "%s");
    const char* utf8End = std::strstr(utf8, "%s");
    size_t legacyLength = legacyEnd ? static_cast<size_t>(legacyEnd - legacy) : std::strlen(legacy);
    size_t utf8Length = utf8End ? static_cast<size_t>(utf8End - utf8) : std::strlen(utf8);
    // A part that reads the same in both needs no change.
    bool same = legacyLength == utf8Length && std::memcmp(legacy, utf8, legacyLength) == 0;
    if (legacyLength > 0 && !same) pieces.push_back({legacy, legacyLength, utf8, utf8Length});
    if (!legacyEnd || !utf8End) return;
    legacy = legacyEnd + 2;
    utf8 = utf8End + 2;
  }
}

// The longest first, so that a text is never cut into a shorter text that
// begins it and the rest.
std::vector<Piece> LegacyPieces(const CatalogueLanguage& language) {
  std::vector<Piece> pieces;
  for (int id = 0; id < kCatalogueTexts; ++id) {
    const char* legacy = language.legacyTexts[id];
    const char* utf8 = language.utf8Texts[id];
    if (legacy && utf8) AddPieces(legacy, utf8, pieces);
  }
  std::stable_sort(pieces.begin(), pieces.end(),
                   [](const Piece& a, const Piece& b) { return a.legacyLength > b.legacyLength; });
  return pieces;
}

const Piece* PieceAt(const std::vector<Piece>& pieces, const char* at, size_t left) {
  for (const Piece& piece : pieces) {
    if (piece.legacyLength <= left && std::memcmp(at, piece.legacy, piece.legacyLength) == 0) return &piece;
  }
  return nullptr;
}

// The length of the valid UTF-8 sequence at the start of bytes (shortest
// form, no surrogates, nothing past U+10FFFF), or 0 when it starts none.
size_t Utf8SequenceLength(const unsigned char* bytes, size_t left) {
  unsigned char lead = bytes[0];
  if (lead < 0x80) return 1;
  size_t length;
  unsigned char low = 0x80, high = 0xBF;
  if (lead >= 0xC2 && lead <= 0xDF) {
    length = 2;
  } else if (lead >= 0xE0 && lead <= 0xEF) {
    length = 3;
    if (lead == 0xE0) low = 0xA0;
    if (lead == 0xED) high = 0x9F;
  } else if (lead >= 0xF0 && lead <= 0xF4) {
    length = 4;
    if (lead == 0xF0) low = 0x90;
    if (lead == 0xF4) high = 0x8F;
  } else {
    return 0;
  }
  if (length > left) return 0;
  if (bytes[1] < low || bytes[1] > high) return 0;
  for (size_t i = 2; i < length; ++i) {
    if (bytes[i] < 0x80 || bytes[i] > 0xBF) return 0;
  }
  return length;
}

void AppendCodePoint(SString& out, unsigned code) {
  if (code < 0x80) {
    out += static_cast<char>(code);
  } else if (code < 0x800) {
    out += static_cast<char>(0xC0 | (code >> 6));
    out += static_cast<char>(0x80 | (code & 0x3F));
  } else {
    out += static_cast<char>(0xE0 | (code >> 12));
    out += static_cast<char>(0x80 | ((code >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (code & 0x3F));
  }
}

const unsigned kReplacementCharacter = 0xFFFD;

}  // namespace

SString ConsoleTextInUtf8(const SString& text) {
  const char* locale = MessageLocale();
  TerminalCharset charset = TerminalCharsetOf(locale);
  // On a UTF-8 terminal the catalogue texts are in UTF-8 already.
  std::vector<Piece> pieces;
  if (charset != TerminalCharset::kUtf8) pieces = LegacyPieces(kCatalogueLanguages[LanguageForLocale(locale)]);

  SString out;
  const char* bytes = text.c_str();
  size_t length = text.length();
  size_t i = 0;
  while (i < length) {
    if (const Piece* piece = PieceAt(pieces, bytes + i, length - i)) {
      out.append(piece->utf8, static_cast<SString::size_type>(piece->utf8Length));
      i += piece->legacyLength;
      continue;
    }
    const unsigned char* at = reinterpret_cast<const unsigned char*>(bytes + i);
    size_t sequence = Utf8SequenceLength(at, length - i);
    if (sequence > 0) {
      out.append(bytes + i, static_cast<SString::size_type>(sequence));
      i += sequence;
    } else {
      AppendCodePoint(out, charset == TerminalCharset::kLatin1 ? at[0] : kReplacementCharacter);
      ++i;
    }
  }
  return out;
}
