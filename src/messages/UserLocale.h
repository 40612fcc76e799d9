// The user's locale as the launcher's messages follow it. The launcher reads
// the locale name itself and never asks the C library to load a locale:
// the program is linked statically and must not read another C library's
// locale or converter files, whose format is private to that library.
#pragma once

// The locale that messages are shown in: the first of LC_ALL, LC_MESSAGES
// and LANG that is set and not empty, as every POSIX program takes it; null
// when none is. Read afresh on every call, so a change shows at once.
const char* MessageLocale();

// How the terminal wants text, from the character set the locale name
// carries after its dot ("ru_RU.UTF-8@latin" names "UTF-8"). Names are
// compared without case and without the punctuation that spellings differ
// in: "UTF-8", "utf8" and "UTF8" are one character set.
enum class TerminalCharset {
  // UTF-8: catalogue texts and title characters are written in UTF-8.
  kUtf8,
  // ISO-8859-1: the title's escapes up to U+00FF are written as one byte.
  kLatin1,
  // No character set named, or any other one: the catalogue's legacy bytes,
  // and only ASCII from the title's escapes.
  kOther,
};

TerminalCharset TerminalCharsetOf(const char* locale);
