// Catalogue texts as the user's terminal shows them.
//
// FormatMessage and GetMessage return the UTF-8 table's text when the
// user's locale names UTF-8, and its legacy bytes otherwise, which the
// catalogue puts together from the legacy bytes of each character that the
// build wrote down (Catalogue.h); no converter of the system is used. Text
// that is not from the catalogue (paths, the title, system errors) is
// inserted as it came. Everything they return is printed or logged as it is.
#include <cstdio>
#include <cstring>

#include "messages/Catalogue.h"
#include "messages/Messages.h"
#include "messages/UserLocale.h"

namespace {

// Longer results are cut here, whatever the length of the argument.
const SString::size_type kMaxMessageLength = 1023;

void AppendLimited(SString& result, const char* bytes, size_t n) {
  SString::size_type room = kMaxMessageLength - result.length();
  if (n > room) n = room;
  result.append(bytes, static_cast<SString::size_type>(n));
}

const char* CatalogueText(int id, const char* locale) {
  const CatalogueLanguage& language = kCatalogueLanguages[LanguageForLocale(locale)];
  bool utf8 = TerminalCharsetOf(locale) == TerminalCharset::kUtf8;
  return utf8 ? language.utf8Text(id) : language.legacyText(id);
}

int MessageIdOfErrorCode(int code) {
  if (code >= ERR_LOAD_INPUT_FILE && code <= ERR_OPEN_INPUT_FILE) return 19 + code;
  if (code >= ERR_WRITING_FILE && code <= ERR_CANCELED) return 36 + (code - ERR_WRITING_FILE);
  return -1;
}

}  // namespace

SString FormatMessage(int id, const char* arg) {
  if (id < 0 || id >= MSG_COUNT || CatalogueText(id, MessageLocale()) == nullptr) {
    char text[64];
    std::snprintf(text, sizeof text, "Error displaying message: id(%d)", id);
    return SString(text);
  }
  // Only "%s" is substituted: the generator admits no other '%' conversion
  // into a table, and no encoding of the tables has a '%' byte inside a
  // multibyte character.
  SString result;
  const char* piece = CatalogueText(id, MessageLocale());
  for (const char* p = piece;; ++p) {
    bool placeholder = p[0] == '%' && p[1] == 's';
    if (*p != '\0' && !placeholder) continue;
    AppendLimited(result, piece, static_cast<size_t>(p - piece));
    if (*p == '\0') break;
    // A missing argument reads as an empty one rather than "(null)".
    if (arg != nullptr) AppendLimited(result, arg, std::strlen(arg));
    ++p;
    piece = p + 1;
  }
  return result;
}

SString GetMessage(int code) {
  int id = MessageIdOfErrorCode(code);
  return id < 0 ? SString() : FormatMessage(id, nullptr);
}

SString FillPlaceholders(const SString& text, std::initializer_list<SString> values) {
  SString result;
  SString::size_type from = 0;
  for (const SString& value : values) {
    SString::size_type at = text.find("%s", from);
    if (at == SString::npos) break;
    result += text.substr(from, at - from) + value;
    from = at + 2;
  }
  return result + text.substr(from);
}
