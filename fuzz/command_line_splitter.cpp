// The command-line splitter on an arbitrary command line, as the launcher
// splits a command for replacing its own process image.
#include <cstring>

#include "FuzzTarget.h"
#include "launch/CommandLineSplitter.h"

namespace {

// Every word comes from the line: quotes and escapes only take characters
// away, so the words together are never longer than the line. A word may
// be empty ("" is an empty argument).
void checkWords(const CommandLineSplitter& splitter, const SString& line) {
  FUZZ_CHECK(splitter.count() >= 0);
  FUZZ_CHECK(static_cast<SString::size_type>(splitter.count()) <= line.length());
  size_t total = 0;
  for (int i = 0; i < splitter.count(); ++i) {
    const char* word = splitter.word(i);
    FUZZ_CHECK(word != nullptr);
    total += std::strlen(word);
  }
  FUZZ_CHECK(total <= line.length());
  FUZZ_CHECK(splitter.word(-1) == nullptr);
  FUZZ_CHECK(splitter.word(splitter.count()) == nullptr);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const SString line(reinterpret_cast<const char*>(data), static_cast<SString::size_type>(size));
  CommandLineSplitter splitter;
  splitter.parse(line);
  checkWords(splitter, line);
  // A second parse replaces the first one's words.
  const int count = splitter.count();
  splitter.parse(line);
  FUZZ_CHECK(splitter.count() == count);
  checkWords(splitter, line);
  return 0;
}
