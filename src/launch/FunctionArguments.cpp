#include "launch/FunctionArguments.h"

#include "base/Tokenizer.h"

namespace {

enum ParseState { EXPECT_OPEN, EXPECT_ARGUMENT, EXPECT_SEPARATOR };

SString complaint(const char* message, SString::size_type stepStart) {
  return SString(message) + " (near character " + fromLong(static_cast<long>(stepStart)) + ")";
}

}  // namespace

SString parseFunctionArguments(const SString& text, SString::size_type& pos, StringDeque& args) {
  args.removeAll();
  ParseState state = EXPECT_OPEN;
  SString::size_type length = text.length();
  while (true) {
    SString::size_type stepStart = pos;
    while (pos < length && isWhite(text[pos])) ++pos;
    char next = pos < length ? text[pos] : '\0';
    bool atEnd = pos >= length;
    switch (state) {
      case EXPECT_OPEN:
        if (atEnd || next != '(') return complaint("Expected left parenthesis.", stepStart);
        ++pos;
        state = EXPECT_ARGUMENT;
        break;
      case EXPECT_ARGUMENT:
        if (!atEnd && next == ')') {
          ++pos;
          return SString();
        }
        if (atEnd || next != '"') return complaint("Expected string arg.", stepStart);
        ++pos;
        args.add(readArgument(text, pos, true));
        if (pos == SString::npos) return SString();
        state = EXPECT_SEPARATOR;
        break;
      case EXPECT_SEPARATOR:
        if (!atEnd && next == ')') {
          ++pos;
          return SString();
        }
        if (atEnd || next != ',') return complaint("Expected right parenthesis.", stepStart);
        ++pos;
        state = EXPECT_ARGUMENT;
        break;
    }
  }
}
