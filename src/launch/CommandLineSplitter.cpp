#include "launch/CommandLineSplitter.h"

namespace {

bool isSeparator(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; }

// Reads from pos (just behind an opening quote) up to the closing quote,
// which is consumed, or to the end of the text.
void readQuotedPiece(const SString& line, SString::size_type& pos, bool escapes, SString& word) {
  SString::size_type len = line.length();
  while (pos < len) {
    char c = line[pos++];
    if (c == '"') return;
    if (c == '\\' && escapes && pos < len) {
      char escaped = line[pos++];
      if (escaped != '"') word += '\\';
      word += escaped;
      continue;
    }
    word += c;
  }
}

SString readWord(const SString& line, SString::size_type& pos, bool escapes) {
  SString word;
  SString::size_type len = line.length();
  if (line[pos] == '"') {
    ++pos;
    readQuotedPiece(line, pos, escapes, word);
    return word;
  }
  while (pos < len) {
    char c = line[pos];
    if (isSeparator(c)) break;
    ++pos;
    if (c == '"') {
      readQuotedPiece(line, pos, escapes, word);
    } else if (c == '\\' && escapes && pos < len) {
      char escaped = line[pos++];
      if (escaped != '"') word += '\\';
      word += escaped;
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
    SString w = readWord(commandLine, pos, words_.count() > 0);
    if (!w.empty()) words_.add(w);
  }
  count_ = words_.count();
}

const char* CommandLineSplitter::word(int i) const { return words_.isValidIndex(i) ? words_.get(i).c_str() : nullptr; }
