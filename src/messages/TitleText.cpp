#include "messages/TitleText.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace {

const SString::size_type kEscapeLength = 6;  // backslash, u, four digits
const unsigned kLastAscii = 0x7F;
const unsigned kLastLatin1 = 0xFF;

bool StartsEscape(const SString& text, SString::size_type i) {
  return text[i] == '\\' && i + kEscapeLength <= text.length() && (text[i + 1] == 'u' || text[i + 1] == 'U');
}

// The four characters after "\u" read with "%x": the leading hexadecimal
// part counts, so "00zz" is code 0 and "zzzz" no escape at all. "%x" also
// takes a sign, so "-001" reads as a code far beyond Unicode.
bool ReadEscapeCode(const SString& text, SString::size_type i, unsigned& code) {
  char digits[5];
  std::memcpy(digits, text.c_str() + i + 2, 4);
  digits[4] = '\0';
  char* end = nullptr;
  unsigned long value = std::strtoul(digits, &end, 16);
  if (end == digits) return false;
  code = static_cast<unsigned>(value);
  return true;
}

bool IsSurrogate(unsigned code) { return code >= 0xD800 && code <= 0xDFFF; }

// Appends the UTF-8 form of a code up to U+FFFF; the escapes reach no
// further (a larger code is refused before this).
void AppendUtf8(SString& title, unsigned code) {
  char bytes[3];
  SString::size_type n;
  if (code < 0x80) {
    bytes[0] = static_cast<char>(code);
    n = 1;
  } else if (code < 0x800) {
    bytes[0] = static_cast<char>(0xC0 | (code >> 6));
    bytes[1] = static_cast<char>(0x80 | (code & 0x3F));
    n = 2;
  } else {
    bytes[0] = static_cast<char>(0xE0 | (code >> 12));
    bytes[1] = static_cast<char>(0x80 | ((code >> 6) & 0x3F));
    bytes[2] = static_cast<char>(0x80 | (code & 0x3F));
    n = 3;
  }
  title.append(bytes, n);
}

// Appends the character for the terminal; false when its character set
// cannot hold it.
bool AppendCharacter(SString& title, unsigned code, TerminalCharset charset) {
  if (code <= kLastAscii || (charset == TerminalCharset::kLatin1 && code <= kLastLatin1)) {
    title += static_cast<char>(code);
    return true;
  }
  if (charset != TerminalCharset::kUtf8 || code > 0xFFFF || IsSurrogate(code)) return false;
  AppendUtf8(title, code);
  return true;
}

}  // namespace

SString DecodeTitle(const SString& text, TerminalCharset charset) {
  SString title;
  SString::size_type i = 0;
  while (i < text.length()) {
    unsigned code = 0;
    if (!StartsEscape(text, i) || !ReadEscapeCode(text, i, code)) {
      title += text[i];
      ++i;
      continue;
    }
    if (code == 0 || !AppendCharacter(title, code, charset)) break;
    i += kEscapeLength;
  }
  return title;
}
