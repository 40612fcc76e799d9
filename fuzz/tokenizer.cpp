// The argument tokenizer on an arbitrary line: readArgument in quoted mode
// (from a position chosen by the first input byte, also past the end, and
// repeatedly as a caller walks a line of quoted arguments), in plain mode,
// and nextWord through the whole line.
//
// Input: one byte choosing the start position, then the line.
#include "base/Tokenizer.h"

#include "FuzzTarget.h"
#include "base/LauncherException.h"

namespace {

typedef SString::size_type Pos;

bool isCSpace(char c) { return c == ' ' || (c >= '\t' && c <= '\r'); }

// The words are exactly the line's characters that are not C white space,
// in order, and the line is used up after a bounded number of calls.
void checkWords(const SString& line) {
  SString joined;
  for (Pos i = 0; i < line.length(); ++i) {
    if (!isCSpace(line[i])) joined += line[i];
  }
  SString words;
  Pos pos = 0;
  for (Pos calls = 0;; ++calls) {
    FUZZ_CHECK(calls <= line.length() + 1);
    bool noWord = true;
    const Pos before = pos;
    SString word = nextWord(line, pos, noWord);
    FUZZ_CHECK(noWord == word.empty());
    if (noWord) break;
    FUZZ_CHECK(pos > before);
    for (Pos i = 0; i < word.length(); ++i) FUZZ_CHECK(!isCSpace(word[i]));
    words += word;
  }
  FUZZ_CHECK(words == joined);
}

void checkQuoted(const SString& line, Pos start) {
  Pos pos = start;
  try {
    SString argument = readArgument(line, pos, true);
    // The closing quote was consumed; what was read came from the line.
    FUZZ_CHECK(pos == SString::npos || (pos > start && pos <= line.length()));
    FUZZ_CHECK(argument.length() < line.length());
  } catch (const LauncherException&) {
  }
}

// Quoted arguments one after another, as a line of them is read.
void walkQuoted(const SString& line) {
  Pos pos = 0;
  for (Pos steps = 0; pos != SString::npos && pos < line.length(); ++steps) {
    FUZZ_CHECK(steps <= line.length());
    Pos quote = line.find('"', pos);
    if (quote == SString::npos) break;
    pos = quote + 1;
    try {
      readArgument(line, pos, true);
    } catch (const LauncherException&) {
      break;
    }
  }
}

void checkPlain(const SString& line, Pos start) {
  Pos pos = start;
  SString argument = readArgument(line, pos, false);
  FUZZ_CHECK(pos == SString::npos || (pos >= start && pos < line.length() && isWhite(line[pos])));
  for (Pos i = 0; start == 0 && i < argument.length(); ++i) FUZZ_CHECK(!isWhite(argument[i]));
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size == 0) return 0;
  const SString line(reinterpret_cast<const char*>(data + 1), static_cast<SString::size_type>(size - 1));
  // 255 stands for npos, 254 for one past the end, anything else for a
  // position inside the line or just beyond it.
  Pos start = data[0] == 255 ? SString::npos : data[0] == 254 ? line.length() + 1 : data[0] % (line.length() + 1);
  checkQuoted(line, start);
  checkPlain(line, start == SString::npos ? 0 : start);
  walkQuoted(line);
  checkWords(line);
  return 0;
}
