// The catalogue keeps each language in its own legacy encoding; a terminal
// set up for another character set (today mostly UTF-8) would show those
// bytes as garbage. These helpers find the character set LANG names and
// convert catalogue text into it with the C library's iconv.
#pragma once

#include <cstddef>

#include "base/SString.h"

// The character set LANG names after its dot, without any "@modifier"
// ("ru_RU.UTF-8@euro" gives "UTF-8"); empty when it names none.
SString TerminalCharset(const char* lang);

// Converts length bytes of text from the character set `from` to `to`.
// False, with out untouched, when the C library has no such conversion or
// the text does not convert completely.
bool ConvertCharset(const char* text, size_t length, const char* from, const char* to, SString& out);
