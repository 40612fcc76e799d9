#include "jvm/JavaVersionRange.h"

namespace {

// Far more digits than any version part has; more would overflow.
const SString::size_type kMostDigits = 9;

bool isDigit(char c) { return c >= '0' && c <= '9'; }

// Reads "N(.N)*" (an underscore separating parts too, as in 1.8.0_392)
// from pos on; stops at the first character that cannot continue it.
bool readNumbers(const SString& text, SString::size_type& pos, std::vector<unsigned long>& parts) {
  for (;;) {
    SString::size_type start = pos;
    unsigned long value = 0;
    while (pos < text.length() && isDigit(text[pos]) && pos - start < kMostDigits) {
      value = value * 10 + static_cast<unsigned long>(text[pos] - '0');
      ++pos;
    }
    if (pos == start || (pos < text.length() && isDigit(text[pos]))) return false;
    parts.push_back(value);
    if (pos + 1 < text.length() && (text[pos] == '.' || text[pos] == '_') && isDigit(text[pos + 1])) {
      ++pos;
      continue;
    }
    return true;
  }
}

// 1.8.0_392 is Java 8: the old scheme's leading "1." goes.
void dropOldSchemePrefix(std::vector<unsigned long>& parts) {
  if (parts.size() > 1 && parts[0] == 1) parts.erase(parts.begin());
}

unsigned long partAt(const std::vector<unsigned long>& parts, size_t i) { return i < parts.size() ? parts[i] : 0; }

// Compares version with bound over the bound's parts only: against 21,
// every 21.x.y is equal.
int compareOverBound(const JavaVersion& version, const JavaVersion& bound) {
  for (size_t i = 0; i < bound.parts.size(); ++i) {
    unsigned long a = partAt(version.parts, i), b = bound.parts[i];
    if (a != b) return a < b ? -1 : 1;
  }
  return 0;
}

// A bound of a range: numbers only, nothing after them.
bool parseBound(const SString& text, JavaVersion& bound) {
  SString::size_type pos = 0;
  if (!readNumbers(text, pos, bound.parts) || pos != text.length()) return false;
  dropOldSchemePrefix(bound.parts);
  return bound.parts[0] > 0;
}

}  // namespace

bool parseJavaVersion(const SString& text, JavaVersion& version) {
  SString trimmed = trim(text, kWhiteSpace);
  SString::size_type pos = 0;
  version = JavaVersion();
  if (!readNumbers(trimmed, pos, version.parts)) return false;
  dropOldSchemePrefix(version.parts);
  // "25-ea", "21-internal": a hyphen after the numbers starts a
  // pre-release; "+9" is a build number, which does not order releases.
  version.preRelease = pos < trimmed.length() && trimmed[pos] == '-';
  return true;
}

int compareJavaVersions(const JavaVersion& a, const JavaVersion& b) {
  size_t count = a.parts.size() > b.parts.size() ? a.parts.size() : b.parts.size();
  for (size_t i = 0; i < count; ++i) {
    unsigned long x = partAt(a.parts, i), y = partAt(b.parts, i);
    if (x != y) return x < y ? -1 : 1;
  }
  if (a.preRelease != b.preRelease) return a.preRelease ? -1 : 1;
  return 0;
}

bool JavaVersionRange::parse(const SString& text, SString& why) {
  *this = JavaVersionRange();
  const SString range = trim(text, kWhiteSpace);
  const char* forms = " (the forms are N, N+, N-M and full versions such as 17.0.5+)";
  if (range.empty()) {
    why = SString("it is empty") + forms;
    return false;
  }
  SString low = range, high;
  bool openEnded = false;
  if (range[range.length() - 1] == '+') {
    low = range.substr(0, range.length() - 1);
    openEnded = true;
  } else if (range.find('-') != SString::npos) {
    SString::size_type dash = range.find('-');
    low = range.substr(0, dash);
    high = range.substr(dash + 1);
  } else {
    high = range;
  }
  if (!parseBound(low, lowest_) || (!openEnded && !parseBound(high, highest_))) {
    why = "\"" + range + "\" is not a version range" + forms;
    return false;
  }
  bounded_ = !openEnded;
  if (bounded_ && compareOverBound(lowest_, highest_) > 0) {
    why = "\"" + range + "\" ends before it starts" + forms;
    return false;
  }
  text_ = range;
  return true;
}

bool JavaVersionRange::contains(const JavaVersion& version) const {
  if (version.parts.empty() || compareOverBound(version, lowest_) < 0) return false;
  return !bounded_ || compareOverBound(version, highest_) <= 0;
}

bool JavaVersionRange::contains(const SString& versionText) const {
  JavaVersion version;
  return parseJavaVersion(versionText, version) && contains(version);
}
