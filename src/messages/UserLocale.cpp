#include "messages/UserLocale.h"

#include <cstdlib>
#include <cstring>

namespace {

// The name in lower case with only its letters and digits: "ISO_8859-1"
// and "iso88591" both become "iso88591".
void Squeeze(const char* name, size_t length, char* out, size_t room) {
  size_t used = 0;
  for (size_t i = 0; i < length && used + 1 < room; ++i) {
    char c = name[i];
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    if ((c >= 'a' && c <= 'z') || (c >= '0' && c <= '9')) out[used++] = c;
  }
  out[used] = '\0';
}

bool IsOneOf(const char* squeezed, const char* const* names) {
  for (; *names != nullptr; ++names) {
    if (std::strcmp(squeezed, *names) == 0) return true;
  }
  return false;
}

const char* const kUtf8Names[] = {"utf8", nullptr};
const char* const kLocaleVariables[] = {"LC_ALL", "LC_MESSAGES", "LANG"};
const char* const kLatin1Names[] = {"iso88591", "iso885911987", "latin1", "l1", "isoir100", "cp819", "ibm819", nullptr};

}  // namespace

const char* MessageLocale() {
  for (const char* variable : kLocaleVariables) {
    const char* value = std::getenv(variable);
    if (value != nullptr && *value != '\0') return value;
  }
  return nullptr;
}

TerminalCharset TerminalCharsetOf(const char* locale) {
  if (locale == nullptr) return TerminalCharset::kOther;
  const char* dot = std::strchr(locale, '.');
  if (dot == nullptr) return TerminalCharset::kOther;
  const char* name = dot + 1;
  // Room for more than any name compared here, so that a longer name, cut
  // short, never matches one.
  char squeezed[32];
  Squeeze(name, std::strcspn(name, "@"), squeezed, sizeof squeezed);
  if (IsOneOf(squeezed, kUtf8Names)) return TerminalCharset::kUtf8;
  if (IsOneOf(squeezed, kLatin1Names)) return TerminalCharset::kLatin1;
  return TerminalCharset::kOther;
}
