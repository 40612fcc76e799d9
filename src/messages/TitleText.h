// The product title comes from the launch script's DESC or the input file's
// UI_TITLE, where characters outside ASCII can be written as \uXXXX escapes
// so that the files stay plain ASCII.
#pragma once

#include "base/SString.h"
#include "messages/UserLocale.h"

// The title with each \uXXXX or \UXXXX escape (six characters, the four
// after the letter read as a hexadecimal number) replaced by that character
// written for the terminal: in UTF-8 on a UTF-8 terminal, as one byte up to
// U+00FF on a Latin-1 one, and only as ASCII on any other. The title ends
// before an escape the terminal's character set cannot hold (a lone UTF-16
// surrogate has no UTF-8 form either), and at an escape of code 0. A
// backslash that starts no complete escape, and every other byte, stay as
// they are.
SString DecodeTitle(const SString& text, TerminalCharset charset);
