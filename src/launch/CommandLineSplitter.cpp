#include "launch/CommandLineSplitter.h"

namespace {

bool isSeparator(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; }

// In every word after the program's own path a backslash escapes a quote
// or another backslash, so that any argument can be written; before any
// other character it stays, as paths with backslashes are written.
void appendEscaped(char escaped, SString& word) {
  if (escaped != '"' && escaped != '\\') word += '\\';
  word += escaped;
}

// Reads from pos (just behind an opening quote) up to the closing quote,
// which is consumed, or to the end of the text.
void readQuotedPiece(const SString& line, SString::size_type& pos, bool escapes, SString& word) {
  SString::size_type len = line.length();
  while (pos < len) {
    char c = line[pos++];
    if (c == '"') return;
    if (c == '\\' && escapes && pos < len) {
      appendEscaped(line[pos++], word);
      continue;
    }
    word += c;
  }
}

// quoted tells whether the word was written in quotes: "" is an empty
// argument, not nothing.
SString readWord(const SString& line, SString::size_type& pos, bool escapes, bool& quoted) {
  SString word;
  SString::size_type len = line.length();
  quoted = line[pos] == '"';
  if (quoted) {
    ++pos;
    readQuotedPiece(line, pos, escapes, word);
    return word;
  }
  while (pos < len) {
    char c = line[pos];
    if (isSeparator(c)) break;
    ++pos;
    if (c == '"') {
      quoted = true;
      readQuotedPiece(line, pos, escapes, word);
    } else if (c == '\\' && escapes && pos < len) {
      appendEscaped(line[pos++], word);
    } else {
      word += c;
    }
  }
  return word;
}

}  // namespace

void CommandLineSplitter::parse(const SString& commandLine) {
  words_.removeAll();
  SString::size_type pos = 0;
  SString::size_type len = commandLine.length();
  while (true) {
    while (pos < len && isSeparator(commandLine[pos])) ++pos;
    if (pos >= len) break;
    bool quoted = false;
    SString w = readWord(commandLine, pos, words_.count() > 0, quoted);
    if (!w.empty() || quoted) words_.add(w);
  }
  count_ = words_.count();
}

const char* CommandLineSplitter::word(int i) const { return words_.isValidIndex(i) ? words_.get(i).c_str() : nullptr; }
