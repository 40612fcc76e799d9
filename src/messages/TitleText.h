// The product title comes from the launch script's DESC or the input file's
// UI_TITLE, where characters outside ASCII can be written as \uXXXX escapes
// so that the files stay plain ASCII.
#pragma once

#include "base/SString.h"

// The title with each \uXXXX or \UXXXX escape (six characters, the four
// after the letter read as a hexadecimal number) replaced by that character
// in the multibyte encoding of the current locale. The title ends before an
// escape the locale cannot encode, and at an escape of code 0. A backslash
// that starts no complete escape, and every other byte, stay as they are.
SString DecodeTitle(const SString& text);
