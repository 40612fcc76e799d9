#include "base/Tokenizer.h"

#include "base/LauncherException.h"

bool isWhite(char c) { return c == ' ' || c == '\t' || c == '\n' || c == '\r'; }

namespace {

// The C library's white-space class of the default ("C") locale, spelled
// out so that no locale can change what separates arguments.
bool isCSpace(char c) { return c == ' ' || (c >= '\t' && c <= '\r'); }

SString readQuoted(const SString& line, SString::size_type& pos) {
  SString result;
  bool closed = false;
  SString::size_type len = line.length();
  SString::size_type q = line.find('"', pos);
  while (q != SString::npos && !closed) {
    if (q + 1 < len && line[q + 1] == '"') {
      if (q + 1 == len - 1) {
        // A doubled quote at the very end can never be closed.
        q = SString::npos;
        pos = SString::npos;
      } else {
        result.append(line, pos, q + 1 - pos);
        pos = q + 2;
        q = line.find('"', pos);
      }
    } else {
      closed = true;
      result.append(line, pos, q - pos);
      pos = q + 1;
    }
  }
  if (!closed) {
    throw LauncherException("Expected double quote to end argument near " +
                            fromLong(static_cast<long>(static_cast<int32_t>(pos))));
  }
  if (pos >= len) pos = SString::npos;
  return result;
}

}  // namespace

SString readArgument(const SString& line, SString::size_type& pos, bool quoted) {
  if (quoted) return readQuoted(line, pos);
  SString::size_type q = line.find_first_of(" \t\n\r", pos);
  SString result = q != SString::npos ? line.substr(pos, q - pos) : line;
  pos = q;
  return result;
}

SString nextWord(const SString& line, SString::size_type& pos, bool& noWord) {
  SString::size_type len = line.length();
  while (pos < len && isCSpace(line[pos])) ++pos;
  SString::size_type start = pos;
  SString::size_type end = pos;
  while (pos < len) {
    char c = line[pos];
    ++pos;
    if (isCSpace(c)) break;
    end = pos;
    // Running off the end leaves the position one past it, so every later
    // call finds nothing without moving.
    if (pos == len) ++pos;
  }
  SString word = start < end ? line.substr(start, end - start) : SString();
  noWord = word.empty();
  return word;
}
