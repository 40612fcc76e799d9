#include "jvm/VerificationOutput.h"

#include "base/Log.h"

const char* const kVerificationMagic = "1739021872";

namespace {

// Hands out the output one line at a time: a line ends at a line feed,
// carriage returns are dropped and white space is trimmed. A final line
// feed does not start another, empty line.
class LineReader {
 public:
  explicit LineReader(const SString& text) : text_(text), pos_(0) {}

  bool next(SString& line) {
    if (pos_ >= text_.length()) return false;
    SString::size_type end = text_.find('\n', pos_);
    if (end == SString::npos) end = text_.length();
    SString raw;
    for (SString::size_type i = pos_; i < end; ++i) {
      if (text_[i] != '\r') raw += text_[i];
    }
    pos_ = end + 1;
    line = trim(raw, kWhiteSpace);
    return true;
  }

 private:
  const SString& text_;
  SString::size_type pos_;
};

const char kPrefixMark[] = "...";
const SString::size_type kPrefixMarkLength = sizeof(kPrefixMark) - 1;

bool valueMatches(const SString& line, const SString& expected) {
  if (endsWith(expected, kPrefixMark) != SString::npos) {
    SString::size_type prefixLength = expected.length() - kPrefixMarkLength;
    // The class prints "null" for a property the JVM does not have at all;
    // only a requirement that accepts anything lets that through.
    if (prefixLength == 0) return true;
    if (line == "null" || line.length() < prefixLength) return false;
    return line.compare(0, prefixLength, expected, 0, prefixLength) == 0;
  }
  return line != "null" && line == expected;
}

}  // namespace

bool checkVerificationOutput(const SString& output, const StringPairPtrDeque& properties, SString* why) {
  LineReader reader(output);
  SString line;
  SString lastLine;
  bool magicSeen = false;
  while (reader.next(line)) {
    lastLine = line;
    if (line == kVerificationMagic) {
      magicSeen = true;
      break;
    }
  }
  if (!magicSeen) {
    log("Invalid magic value: " + lastLine + "\n", ERROR);
    if (why) *why = "it printed no verification line";
    return false;
  }
  for (int i = 0; i < properties.count(); ++i) {
    const StringPair* property = properties.get(i);
    if (!reader.next(line)) {
      // A JVM that dies after the magic line has not shown that it has the
      // required properties, so it cannot be accepted.
      log("The verification output ended before the value of " + property->first + ".", WARNING);
      if (why) *why = "its output ended before the value of " + property->first;
      return false;
    }
    if (!valueMatches(line, property->second)) {
      if (why) *why = property->first + " is " + line + ", required " + property->second;
      return false;
    }
  }
  return true;
}

bool verificationAnswer(const SString& output, int propertyCount, SString& answer) {
  LineReader reader(output);
  SString line;
  bool magicSeen = false;
  while (!magicSeen && reader.next(line)) magicSeen = line == kVerificationMagic;
  if (!magicSeen) return false;
  answer = SString(kVerificationMagic) + "\n";
  for (int i = 0; i < propertyCount; ++i) {
    if (!reader.next(line)) return false;
    answer += line + "\n";
  }
  return true;
}

SString reportedPropertyValue(const SString& output, int index) {
  SString answer;
  if (!verificationAnswer(output, index + 1, answer)) return SString();
  // The answer's last line, without its line feed.
  const SString::size_type end = answer.length() - 1;
  const SString::size_type start = answer.rfind('\n', end - 1) + 1;
  return answer.substr(start, end - start);
}
