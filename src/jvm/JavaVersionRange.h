// The Java versions a JVM description accepts, written as packagers think
// of them: "17" (that feature release, 17.0.9 included), "17+" (17 or
// newer), "11-21" (11 through the whole 21 line) or a full version such as
// "17.0.5+". Versions compare numerically part by part; the old scheme
// "1.x" is x, so "1.8.0_392" is 8 and "1.8+" means "8+". An early-access
// build such as "25-ea" counts as 25, and sorts below the release 25.
#pragma once

#include "base/SString.h"

struct JavaVersion {
  // The numbers in order; a version with more keeps the first ones.
  static const int kMostParts = 8;
  unsigned long parts[kMostParts] = {};
  int partCount = 0;
  bool preRelease = false;
};

// Reads a version as a JVM reports it (java.version, or JAVA_VERSION of a
// release file). False for text that does not start with a number.
bool parseJavaVersion(const SString& text, JavaVersion& version);

// Negative, 0 or positive as a is older than, the same as or newer than b;
// missing parts count as 0, and a release is newer than a pre-release of
// the same numbers.
int compareJavaVersions(const JavaVersion& a, const JavaVersion& b);

class JavaVersionRange {
 public:
  // False for text that is none of the forms; why then says what is wrong.
  bool parse(const SString& text, SString& why);
  bool contains(const JavaVersion& version) const;
  // False for a version text that cannot be read.
  bool contains(const SString& versionText) const;
  // Negative when version is older than every version of the range, 0
  // when the range has it, positive when it is newer than all of them.
  int compareWith(const JavaVersion& version) const;
  const SString& text() const { return text_; }
  // The bounds as written ("17", "11" and "21", "17.0.5"), for telling a
  // user which Java to get: lowest() alone for an open range (orNewer()),
  // both for a bounded one, the same text twice for a single line ("17").
  const SString& lowest() const { return lowestText_; }
  const SString& highest() const { return highestText_; }
  bool orNewer() const { return !bounded_ && !text_.empty(); }

  // The range as a user is told which Java to get, in the user's language:
  // "Java 21 or newer", "Java 11 to 21", "Java 17".
  SString inWords() const;
  // A version found on the machine as that user reads it beside the range:
  // as precise as the range's bounds, so "17.0.9" is "17" next to "21 or
  // newer" and "1.8.0_392" is "8", but next to "17.0.10 or newer" both stay
  // as they are, as does a text that is no version.
  SString versionInWords(const SString& versionText) const;

 private:
  SString text_;
  SString lowestText_;
  SString highestText_;
  JavaVersion lowest_;
  JavaVersion highest_;
  bool bounded_ = false;
};
