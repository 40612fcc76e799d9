#include "messages/Utf8Text.h"

#include <cstring>
#include <memory>

#include "base/Deque.h"
#include "messages/Catalogue.h"
#include "messages/Messages.h"
#include "messages/UserLocale.h"

namespace {

// A part of a catalogue text between placeholders, in both tables.
struct Piece {
  const char* legacy = nullptr;
  size_t legacyLength = 0;
  const char* utf8 = nullptr;
  size_t utf8Length = 0;
};

// The language's texts in its legacy encoding, by id (empty in a gap), put
// together once for a whole message rather than at each of its bytes.
struct LegacyTexts {
  explicit LegacyTexts(const CatalogueLanguage& catalogue) : language(catalogue) {
    for (int id = 0; id < kCatalogueTexts; ++id) texts.add(language.utf8Text(id) ? language.legacyText(id) : "");
  }
  const CatalogueLanguage& language;
  StringDeque texts;
};

// The longest part of the language's legacy texts that starts at `at` and
// reads otherwise in UTF-8; false when none does. The longest, so that a
// text is never taken for a shorter one that begins it. Both tables hold
// the same placeholders in the same order (the generator checks it), so
// the n-th part of one is the n-th part of the other.
bool LegacyPieceAt(const LegacyTexts& language, const char* at, size_t left, Piece& best) {
  best = Piece();
  for (int id = 0; id < kCatalogueTexts; ++id) {
    const char* utf8 = language.language.utf8Text(id);
    const char* legacy = utf8 ? language.texts.get(id).c_str() : nullptr;
    while (legacy && utf8) {
      const char* legacyEnd = std::strstr(legacy, "%s");
      const char* utf8End = std::strstr(utf8, "%s");
      size_t legacyLength = legacyEnd ? static_cast<size_t>(legacyEnd - legacy) : std::strlen(legacy);
      size_t utf8Length = utf8End ? static_cast<size_t>(utf8End - utf8) : std::strlen(utf8);
      bool same = legacyLength == utf8Length && std::memcmp(legacy, utf8, legacyLength) == 0;
      if (!same && legacyLength > best.legacyLength && legacyLength <= left &&
          std::memcmp(at, legacy, legacyLength) == 0) {
        best = {legacy, legacyLength, utf8, utf8Length};
      }
      legacy = legacyEnd && utf8End ? legacyEnd + 2 : nullptr;
      utf8 = legacyEnd && utf8End ? utf8End + 2 : nullptr;
    }
  }
  return best.legacyLength > 0;
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
  std::unique_ptr<LegacyTexts> legacy;
  if (charset != TerminalCharset::kUtf8) legacy.reset(new LegacyTexts(kCatalogueLanguages[LanguageForLocale(locale)]));

  SString out;
  const char* bytes = text.c_str();
  size_t length = text.length();
  size_t i = 0;
  while (i < length) {
    Piece piece;
    if (legacy && LegacyPieceAt(*legacy, bytes + i, length - i, piece)) {
      out.append(piece.utf8, static_cast<SString::size_type>(piece.utf8Length));
      i += piece.legacyLength;
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
