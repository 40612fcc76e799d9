// Programs outside the launcher that show its messages, the desktop's
// dialog tools, read UTF-8 whatever character set the user's terminal has.
// The launcher forms every message once, for the terminal (see
// MessageText.cpp), so a message meant for such a program is turned into
// UTF-8 afterwards, without a converter: the catalogue's own UTF-8 table
// says what each of its legacy texts reads in UTF-8.
#pragma once

#include "base/SString.h"

// text, formed for the terminal of the user's locale, in valid UTF-8:
// - the pieces of catalogue texts (the parts around their "%s") in the
//   selected language's legacy encoding become that language's UTF-8 text;
// - everything else (paths, values, system errors) is kept where it is
//   valid UTF-8 already; a byte that starts no valid UTF-8 sequence is read
//   as Latin-1 when the locale names ISO-8859-1, and becomes U+FFFD
//   (the replacement character) otherwise.
SString ConsoleTextInUtf8(const SString& text);
