// Catalogue texts as the user's terminal shows them.
//
// FormatMessage and GetMessage return text in the character set that LANG
// names (the stored bytes when it names none, or when the C library cannot
// convert to it). Everything they return is printed or logged, and nothing
// else converts: PrintMessage and the other output functions write bytes as
// they are, so no text is ever converted twice, and text that is not from
// the catalogue (paths, the title, system errors) is never converted at all.
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "messages/Catalogue.h"
#include "messages/Messages.h"
#include "messages/TerminalCharset.h"

namespace {

// Longer results are cut here, whatever the length of the argument.
const SString::size_type kMaxMessageLength = 1023;

void AppendLimited(SString& result, const char* bytes, size_t n) {
  SString::size_type room = kMaxMessageLength - result.length();
  if (n > room) n = room;
  result.append(bytes, static_cast<SString::size_type>(n));
}

// A piece of catalogue text of the language, converted for the terminal.
void AppendCatalogueText(SString& result, const CatalogueLanguage& language, const SString& terminalCharset,
                         const char* text, size_t n) {
  SString converted;
  if (!terminalCharset.empty() && ConvertCharset(text, n, language.charset, terminalCharset.c_str(), converted)) {
    AppendLimited(result, converted.c_str(), converted.length());
  } else {
    AppendLimited(result, text, n);
  }
}

int MessageIdOfErrorCode(int code) {
  if (code >= ERR_LOAD_INPUT_FILE && code <= ERR_OPEN_INPUT_FILE) return 19 + code;
  if (code >= ERR_WRITING_FILE && code <= ERR_CANCELED) return 36 + (code - ERR_WRITING_FILE);
  return -1;
}

}  // namespace

SString FormatMessage(int id, const char* arg) {
  if (id < 0 || id >= MSG_COUNT) {
    char text[64];
    std::snprintf(text, sizeof text, "Error displaying message: id(%d)", id);
    return SString(text);
  }
  const char* lang = std::getenv("LANG");
  const CatalogueLanguage& language = kCatalogueLanguages[LanguageForLang(lang)];
  SString terminalCharset = TerminalCharset(lang);

  // The text is cut at its "%s" and only the catalogue's own pieces are
  // converted: the argument is not catalogue text and stays as it came. The
  // generator admits no other '%' conversion into a table, and no encoding
  // of the tables has a '%' byte inside a multibyte character.
  SString result;
  const char* text = language.texts[id];
  const char* piece = text;
  for (const char* p = text;; ++p) {
    bool placeholder = p[0] == '%' && p[1] == 's';
    if (*p != '\0' && !placeholder) continue;
    AppendCatalogueText(result, language, terminalCharset, piece, static_cast<size_t>(p - piece));
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
