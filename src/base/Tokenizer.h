// Splits the lines of every text format of the launcher into arguments and
// words. The quoting convention is shared by all of them: an argument may be
// enclosed in double quotes, and inside quotes a doubled quote stands for one.
#pragma once

#include "base/SString.h"

// True for space, tab, line feed and carriage return only.
bool isWhite(char c);

// Quoted mode: pos points just after the opening quote; reads to the closing
// quote. Plain mode: reads up to the next white-space character. pos becomes
// npos when the line is used up. Throws LauncherException for an
// unterminated quoted argument.
SString readArgument(const SString& line, SString::size_type& pos, bool quoted);

// The next word of characters that are not C white space; noWord tells
// whether the rest of the line held none.
SString nextWord(const SString& line, SString::size_type& pos, bool& noWord);
