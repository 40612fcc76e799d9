// Replaces the variable references of a text (@N1@, @S2@) by the values.
//
// The text is scanned for '@' from the left. A reference is replaced by the
// value, and the scan goes on inside the inserted value from its second
// character, so references held in a value are expanded too; "@@" leaves
// one '@' and the scan goes on after it. Passes repeat until one makes no
// substitution, and a later pass sees the text as the earlier one left it.
//
// The scan keeps the text still to be read as a stack of segments instead of
// editing the text in place, so a value of several megabytes costs one copy
// into the output. The output's buffer grows in doubling steps, and the
// expanded text takes that buffer over instead of a copy of it, so the work
// of a pass is proportional to the characters it produces.
#include <cstdint>
#include <vector>

#include "instructions/Instructions.h"

namespace {

// A value that refers to itself, directly or through other variables, would
// expand for ever. Three bounds stop it, each raising an error that names the
// reference being replaced:
// - a reference found inside the value of the same variable, while that value
//   is still being scanned, would repeat the same steps without end: refused
//   at once;
// - a later pass reads the '@' that "@@" left as a reference, so a value can
//   rebuild a reference to itself for the next pass: at most
//   kMaxSubstitutingPasses passes may substitute;
// - values that refer to other values several times multiply the length:
//   the expanded text may not grow beyond kMaxExpandedLength characters;
// - every line may take an expansion close to that bound, so a short script
//   could spend seconds copying values: one run of a script may produce at
//   most kMaxExpandedPerRun characters in all its expansions.
const int kMaxSubstitutingPasses = 16;
const size_t kMaxExpandedLength = 16 * 1024 * 1024;
const uint64_t kMaxExpandedPerRun = 64 * 1024 * 1024;

// The rest of the text, or the rest of a value inserted for a reference;
// source is that reference, of type 0 for the text itself.
struct Segment {
  SString text;
  SString::size_type pos;
  VariableRef source;
};

typedef std::vector<Segment> SegmentStack;

void appendChars(SString& out, const char* chars, SString::size_type n) {
  out.reserveForAppend(n);
  out.append(chars, n);
}

void appendRest(SString& out, const Segment& segment) {
  appendChars(out, segment.text.c_str() + segment.pos, segment.text.length() - segment.pos);
}

// Reads a reference name up to its closing '@', which may lie beyond the
// inserted value it started in. False when no '@' closes it.
bool readName(SegmentStack& open, SString& name) {
  while (!open.empty()) {
    Segment& segment = open.back();
    SString::size_type close = segment.text.find('@', segment.pos);
    if (close != SString::npos) {
      appendChars(name, segment.text.c_str() + segment.pos, close - segment.pos);
      segment.pos = close + 1;
      return true;
    }
    appendRest(name, segment);
    open.pop_back();
  }
  return false;
}

// The segments left on the stack are the values that enclose the reference
// just read.
bool isBeingExpanded(const SegmentStack& open, const VariableRef& ref) {
  for (const Segment& segment : open) {
    if (segment.source.type == ref.type && segment.source.number == ref.number) return true;
  }
  return false;
}

// One pass over text; returns whether it replaced a reference. runTotal
// holds what the run's earlier passes produced.
bool expandPass(const Instructions& script, const SString& text, const SString& context, int pass, uint64_t runTotal,
                SString& out) {
  out.reserve(text.length());
  SegmentStack open;
  open.push_back(Segment{text, 0, VariableRef{0, 0}});
  bool substituted = false;
  while (!open.empty()) {
    Segment& top = open.back();
    SString::size_type at = top.text.find('@', top.pos);
    if (at == SString::npos) {
      appendRest(out, top);
      open.pop_back();
      continue;
    }
    appendChars(out, top.text.c_str() + top.pos, at - top.pos);
    top.pos = at + 1;

    SString name;
    if (!readName(open, name)) script.raiseError(context + " " + "Invalid variable specification.");
    if (name.empty()) {
      appendChars(out, "@", 1);
      continue;
    }
    VariableRef ref = script.parseVariableRef(name, context);
    if (isBeingExpanded(open, ref) || pass > kMaxSubstitutingPasses) {
      script.raiseError(context + " " + "Variable reference (" + name + ") refers to itself and cannot be expanded.");
    }
    const SString value = script.variableText(ref);
    if (out.length() + value.length() > kMaxExpandedLength) {
      script.raiseError(context + " " + "Variable reference (" + name + ") expands to more than " +
                        fromLong(static_cast<long>(kMaxExpandedLength)) + " characters.");
    }
    if (runTotal + out.length() + value.length() > kMaxExpandedPerRun) {
      script.raiseError(context + " " + "Variable reference (" + name + ") takes the script's expansions beyond " +
                        fromLong(static_cast<long>(kMaxExpandedPerRun)) + " characters in all.");
    }
    substituted = true;

    // A value read to its end stays on the stack while the value inserted
    // at its end is scanned: it still encloses that one. The stack thus
    // holds each variable at most once.
    //
    // The inserted value's first character is passed over, as the scan
    // resumes one character after where the reference began. An empty value
    // passes over nothing: the text right after the reference is still read.
    if (!value.empty()) {
      appendChars(out, value.c_str(), 1);
      if (value.length() > 1) open.push_back(Segment{value, 1, ref});
    }
  }
  return substituted;
}

}  // namespace

void Instructions::expandVariables(SString& text, const SString& context) const {
  if (text.empty()) raiseError(context + " " + "Empty expression.");
  for (int pass = 1;; ++pass) {
    if (text.find('@') == SString::npos) return;
    SString out;
    bool substituted = expandPass(*this, text, context, pass, expandedPerRun_, out);
    expandedPerRun_ += out.length();
    // The text takes over the output's buffer, without the room reserved
    // ahead; an empty text keeps no buffer.
    out.shrinkToFit();
    text = out.empty() ? SString() : out;
    if (!substituted) return;
  }
}
