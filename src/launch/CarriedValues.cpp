#include "launch/CarriedValues.h"

#include <vector>

#include "base/LauncherException.h"
#include "launch/Quoting.h"
#include "messages/Messages.h"

namespace {

// Control characters that no launch script has reason to hold around a
// number: "\x01" index "\x02".
const char kTokenOpen = '\x01';
const char kTokenClose = '\x02';

// Where the shell is at one position of a command. Frames nest: double
// quotes, $(...), and the two forms whose inner quoting rules the launcher
// does not follow (back quotes, ${...}).
enum FrameKind { kTop, kCommandSubstitution, kDoubleQuotes, kBackQuotes, kBraces };

struct Frame {
  FrameKind kind;
  int parentheses;  // open ( inside a $(...) frame
};

bool startsWord(char previous) {
  return previous == '\0' || previous == ' ' || previous == '\t' || previous == '\n' || previous == ';' ||
         previous == '&' || previous == '|' || previous == '(' || previous == ')' || previous == '<' || previous == '>';
}

SString quoteInsideSingleQuotes(const SString& value) {
  SString quoted;
  for (SString::size_type i = 0; i < value.length(); ++i) {
    if (value[i] == '\'') {
      quoted += "'\\''";
    } else {
      quoted += value[i];
    }
  }
  return quoted;
}

[[noreturn]] void cannotQuote(const SString& value) {
  throw LauncherException(FormatMessage(MSG_UNQUOTABLE_VALUE, value.c_str()));
}

}  // namespace

SString CarriedValues::token(const SString& value) {
  // Nothing to carry: an empty value leaves no empty word behind either.
  if (value.empty()) return value;
  values_.add(value);
  return SString(1, kTokenOpen) + fromLong(values_.count() - 1) + SString(1, kTokenClose);
}

const SString* CarriedValues::valueAt(const SString& text, SString::size_type pos, SString::size_type& end) const {
  if (text[pos] != kTokenOpen) return nullptr;
  SString::size_type close = text.find(kTokenClose, pos + 1);
  if (close == SString::npos || close == pos + 1 || close - pos > 10) return nullptr;
  long index = 0;
  for (SString::size_type i = pos + 1; i < close; ++i) {
    if (text[i] < '0' || text[i] > '9') return nullptr;
    index = index * 10 + (text[i] - '0');
  }
  if (index >= values_.count()) return nullptr;
  end = close + 1;
  return &values_.get(static_cast<int>(index));
}

SString CarriedValues::plain(const SString& text) const {
  SString result;
  for (SString::size_type i = 0; i < text.length();) {
    SString::size_type end = 0;
    if (const SString* value = valueAt(text, i, end)) {
      result += *value;
      i = end;
    } else {
      result += text[i++];
    }
  }
  return result;
}

SString CarriedValues::forShell(const SString& text) const {
  std::vector<Frame> frames{{kTop, 0}};
  bool inSingleQuotes = false;
  bool inComment = false;
  char previous = '\0';
  SString result;
  for (SString::size_type i = 0; i < text.length();) {
    SString::size_type end = 0;
    if (const SString* value = valueAt(text, i, end)) {
      FrameKind kind = frames.back().kind;
      if (inComment) {
        // Nothing of a comment is run; a line break in the value would end it.
      } else if (inSingleQuotes) {
        result += quoteInsideSingleQuotes(*value);
      } else if (kind == kDoubleQuotes) {
        SString quoted = quoteForShell(*value);
        result += quoted.substr(1, quoted.length() - 2);
      } else if (kind == kTop || kind == kCommandSubstitution) {
        result += quoteForShell(*value);
      } else {
        cannotQuote(*value);
      }
      previous = 'x';
      i = end;
      continue;
    }
    char c = text[i];
    result += c;
    ++i;
    Frame& frame = frames.back();
    char next = i < text.length() ? text[i] : '\0';
    if (inComment) {
      inComment = c != '\n';
    } else if (inSingleQuotes) {
      inSingleQuotes = c != '\'';
    } else if (c == '\\') {
      // The escaped character is taken as it is; a token cannot be, as its
      // quoting would lose its first character to the backslash.
      SString::size_type tokenEnd = 0;
      if (i < text.length()) {
        if (const SString* value = valueAt(text, i, tokenEnd)) cannotQuote(*value);
        result += text[i++];
      }
    } else if (frame.kind == kBackQuotes) {
      if (c == '`') frames.pop_back();
    } else if (frame.kind == kBraces) {
      if (c == '}') frames.pop_back();
    } else if (c == '`') {
      frames.push_back({kBackQuotes, 0});
    } else if (c == '$' && (next == '(' || next == '{')) {
      frames.push_back({next == '(' ? kCommandSubstitution : kBraces, 0});
      result += next;
      ++i;
    } else if (frame.kind == kDoubleQuotes) {
      if (c == '"') frames.pop_back();
    } else if (c == '"') {
      frames.push_back({kDoubleQuotes, 0});
    } else if (c == '\'') {
      inSingleQuotes = true;
    } else if (c == '#' && startsWord(previous)) {
      inComment = true;
    } else if (frame.kind == kCommandSubstitution && c == '(') {
      ++frame.parentheses;
    } else if (frame.kind == kCommandSubstitution && c == ')') {
      if (frame.parentheses-- == 0) frames.pop_back();
    }
    previous = c;
  }
  return result;
}
