#include "messages/TitleText.h"

#include <climits>
#include <cstdio>
#include <cstring>
#include <cwchar>

namespace {

const SString::size_type kEscapeLength = 6;  // backslash, u, four digits
const unsigned kLastUnicodeCode = 0x10FFFF;

bool StartsEscape(const SString& text, SString::size_type i) {
  return text[i] == '\\' && i + kEscapeLength <= text.length() && (text[i + 1] == 'u' || text[i + 1] == 'U');
}

// The four characters after "\u" read with "%x": the leading hexadecimal
// part counts, so "00zz" is code 0 and "zzzz" no escape at all.
bool ReadEscapeCode(const SString& text, SString::size_type i, unsigned& code) {
  char digits[5];
  std::memcpy(digits, text.c_str() + i + 2, 4);
  digits[4] = '\0';
  return std::sscanf(digits, "%x", &code) == 1;
}

}  // namespace

SString DecodeTitle(const SString& text) {
  SString title;
  SString::size_type i = 0;
  while (i < text.length()) {
    unsigned code = 0;
    if (!StartsEscape(text, i) || !ReadEscapeCode(text, i, code)) {
      title += text[i];
      ++i;
      continue;
    }
    if (code == 0 || code > kLastUnicodeCode) break;
    char bytes[MB_LEN_MAX];
    std::mbstate_t state;
    std::memset(&state, 0, sizeof state);
    size_t n = std::wcrtomb(bytes, static_cast<wchar_t>(code), &state);
    if (n == static_cast<size_t>(-1)) break;
    title.append(bytes, static_cast<SString::size_type>(n));
    i += kEscapeLength;
  }
  return title;
}
