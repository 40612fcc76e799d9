// The argument list of a launch script function call, read from the
// character behind the name's closing marker:
//
//   %SYSTEMPROP%("name", """quoted value""")
//
// Arguments are double-quoted strings with "" for one quote, separated by
// commas; blanks, tabs and line ends around them are skipped. "()" has no
// arguments, and a comma right before ")" is accepted.
#pragma once

#include "base/Deque.h"
#include "base/SString.h"

// Reads the list that starts at pos into args. On success returns the empty
// string and leaves pos just behind the ")" (npos when the last argument's
// closing quote ends the text). Otherwise returns the complaint with the
// index where the failing step began, such as
// "Expected left parenthesis. (near character 15)". An unterminated
// argument throws the tokenizer's LauncherException.
SString parseFunctionArguments(const SString& text, SString::size_type& pos, StringDeque& args);
