#include "jvm/JavaVersionRange.h"

#include "messages/Messages.h"

namespace {

// Far more digits than any version part has; more would overflow.
const SString::size_type kMostDigits = 9;

bool isDigit(char c) { return c >= '0' && c <= '9'; }

// Reads "N(.N)*" (an underscore separating parts too, as in 1.8.0_392)
// from pos on; stops at the first character that cannot continue it.
bool readNumbers(const SString& text, SString::size_type& pos, JavaVersion& version) {
  for (;;) {
    SString::size_type start = pos;
    unsigned long value = 0;
    while (pos < text.length() && isDigit(text[pos]) && pos - start < kMostDigits) {
      value = value * 10 + static_cast<unsigned long>(text[pos] - '0');
      ++pos;
    }
    if (pos == start || (pos < text.length() && isDigit(text[pos]))) return false;
    if (version.partCount < JavaVersion::kMostParts) version.parts[version.partCount++] = value;
    if (pos + 1 < text.length() && (text[pos] == '.' || text[pos] == '_') && isDigit(text[pos + 1])) {
      ++pos;
      continue;
    }
    return true;
  }
}

// 1.8.0_392 is Java 8: the old scheme's leading "1." goes.
void dropOldSchemePrefix(JavaVersion& version) {
  if (version.partCount < 2 || version.parts[0] != 1) return;
  for (int i = 1; i < version.partCount; ++i) version.parts[i - 1] = version.parts[i];
  version.parts[--version.partCount] = 0;
}

// Missing parts are 0 (the array is zeroed beyond partCount).
unsigned long partAt(const JavaVersion& version, int i) { return version.parts[i]; }

// Compares version with bound over the bound's parts only: against 21,
// every 21.x.y is equal.
int compareOverBound(const JavaVersion& version, const JavaVersion& bound) {
  for (int i = 0; i < bound.partCount; ++i) {
    unsigned long a = partAt(version, i), b = bound.parts[i];
    if (a != b) return a < b ? -1 : 1;
  }
  return 0;
}

// A bound of a range: numbers only, nothing after them.
bool parseBound(const SString& text, JavaVersion& bound) {
  SString::size_type pos = 0;
  if (!readNumbers(text, pos, bound) || pos != text.length()) return false;
  dropOldSchemePrefix(bound);
  return bound.parts[0] > 0;
}

}  // namespace

bool parseJavaVersion(const SString& text, JavaVersion& version) {
  SString trimmed = trim(text, kWhiteSpace);
  SString::size_type pos = 0;
  version = JavaVersion();
  if (!readNumbers(trimmed, pos, version)) return false;
  dropOldSchemePrefix(version);
  // "25-ea", "21-internal": a hyphen after the numbers starts a
  // pre-release; "+9" is a build number, which does not order releases.
  version.preRelease = pos < trimmed.length() && trimmed[pos] == '-';
  return true;
}

int compareJavaVersions(const JavaVersion& a, const JavaVersion& b) {
  for (int i = 0; i < JavaVersion::kMostParts; ++i) {
    unsigned long x = partAt(a, i), y = partAt(b, i);
    if (x != y) return x < y ? -1 : 1;
  }
  if (a.preRelease != b.preRelease) return a.preRelease ? -1 : 1;
  return 0;
}

bool JavaVersionRange::parse(const SString& text, SString& why) {
  *this = JavaVersionRange();
  const SString range = trim(text, kWhiteSpace);
  // "17+": from 17 on; "11-21": from 11 through the 21 line; "17": the 17
  // line, from 17 through 17.
  const bool openEnded = !range.empty() && range[range.length() - 1] == '+';
  const SString::size_type dash = range.find('-');
  const SString low = openEnded ? range.substr(0, range.length() - 1) : range.substr(0, dash);
  const SString high = dash == SString::npos ? range : range.substr(dash + 1);
  const char* problem = nullptr;
  if (!parseBound(low, lowest_) || (!openEnded && !parseBound(high, highest_))) {
    problem = "\" is not a version range";
  } else if (!openEnded && compareOverBound(lowest_, highest_) > 0) {
    problem = "\" ends before it starts";
  }
  if (problem) {
    why = "\"" + range + problem + " (the forms are N, N+, N-M and full versions such as 17.0.5+)";
    return false;
  }
  bounded_ = !openEnded;
  text_ = range;
  lowestText_ = low;
  highestText_ = openEnded ? SString() : high;
  return true;
}

bool JavaVersionRange::contains(const JavaVersion& version) const {
  return version.partCount > 0 && compareWith(version) == 0;
}

int JavaVersionRange::compareWith(const JavaVersion& version) const {
  if (compareOverBound(version, lowest_) < 0) return -1;
  return bounded_ && compareOverBound(version, highest_) > 0 ? 1 : 0;
}

SString JavaVersionRange::inWords() const {
  if (orNewer()) return FormatMessage(MSG_JAVA_OR_NEWER, lowestText_.c_str());
  if (lowestText_ == highestText_) return "Java " + lowestText_;
  return FillPlaceholders(FormatMessage(MSG_JAVA_FROM_TO, "%s"), {lowestText_, highestText_});
}

SString JavaVersionRange::versionInWords(const SString& versionText) const {
  JavaVersion version;
  if (!parseJavaVersion(versionText, version)) return trim(versionText, kWhiteSpace);
  int shown = lowest_.partCount;
  if (bounded_ && highest_.partCount > shown) shown = highest_.partCount;
  if (shown < 1) shown = 1;
  // Every part asked for: the version as the JVM gives it, 1.8.0_392 too.
  if (shown >= version.partCount) return trim(versionText, kWhiteSpace);
  SString words;
  for (int i = 0; i < shown; ++i) words += (i ? "." : "") + fromLong(static_cast<long>(version.parts[i]));
  return words;
}

bool JavaVersionRange::contains(const SString& versionText) const {
  JavaVersion version;
  return parseJavaVersion(versionText, version) && contains(version);
}
