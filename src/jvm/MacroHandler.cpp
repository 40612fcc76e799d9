#include "jvm/MacroHandler.h"

#include <cstdint>

namespace {

// Bounds of one expansion. A real command needs a few dozen replacements
// and cannot be longer than the 128 KiB the system allows for one
// argument; a text beyond either bound comes from a value that refers to
// itself.
const unsigned kMaxReplacements = 4096;
const SString::size_type kMaxTextLength = 1024 * 1024;
// Each replacement may copy the whole text, so a value that brings its
// macro back a little further on can stay below both bounds for thousands
// of replacements on a text of several hundred KiB, which takes seconds.
// The characters copied are counted as well; a real command copies a few
// hundred KiB in all.
const uint64_t kMaxRewrittenCharacters = 64 * 1024 * 1024;

// Expansions nest: a launch script function expands its arguments while the
// command's expansion runs. The nested ones count against the outermost
// one's bound, so that a command cannot multiply it by calling a function
// many times.
unsigned expansionDepth = 0;
uint64_t rewrittenCharacters = 0;

class ExpansionScope {
 public:
  ExpansionScope() {
    if (expansionDepth++ == 0) rewrittenCharacters = 0;
  }
  ~ExpansionScope() { --expansionDepth; }
  ExpansionScope(const ExpansionScope&) = delete;
  ExpansionScope& operator=(const ExpansionScope&) = delete;
};

}  // namespace

SString expandMacros(MacroHandler* handler, const SString& text, char marker) {
  ExpansionScope scope;
  uint64_t& rewritten = rewrittenCharacters;
  SString result = text;
  unsigned replacements = 0;
  SString::size_type start = result.find(marker);
  // Compared unsigned on purpose: a name needs at least one character and a
  // closing marker behind the opening one.
  while (start != SString::npos && start < result.length() - 2) {
    SString::size_type end = result.find(marker, start + 2);
    if (end == SString::npos) break;
    rewritten += result.length();
    if (++replacements > kMaxReplacements || result.length() > kMaxTextLength || rewritten > kMaxRewrittenCharacters) {
      SString name = result.substr(start, end - start + 1);
      throw MacroLoopException(
          "The macro " + name + " refers to itself, directly or through other values, and cannot be expanded.", result);
    }
    handler->resolveMacro(result, marker, start, end);
    // From the same start: the inserted value may hold macros itself.
    start = result.find(marker, start);
  }
  SString doubled(2, marker);
  SString::size_type pos = result.find(doubled);
  while (pos != SString::npos) {
    result.erase(pos, 1);
    pos = result.find(doubled, pos + 1);
  }
  return result;
}
