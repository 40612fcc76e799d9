// Path hints as packagers write them for homes whose exact name they
// cannot know: "~/" for the user's home directory, and "*" and "?" inside
// path components ("/opt/*/jdk-17*", "~/.jdks/*"). Also the usual places
// where distributions, vendors and version managers install JDKs.
#pragma once

#include "base/Deque.h"
#include "base/SString.h"

bool hasHomePattern(const SString& hint);

// Every existing directory the pattern names, in name order, each with
// its links resolved; "~" or "~/" at its start is the HOME variable (no
// match when HOME is unset). A hint without "*", "?" or "~" gives itself,
// whether it exists or not.
void expandHomePattern(const SString& pattern, StringDeque& homes);

// Whether name matches one component of a pattern: "*" any run of
// characters, "?" any one. A name starting with "." is matched only by a
// pattern that starts with one.
bool matchesComponent(const SString& pattern, const SString& name);

// The places JDKs are usually installed, as patterns for expandHomePattern.
// Each match is a home itself, or holds one below Contents/Home (a layout
// of macOS bundles that some vendors keep) or jre/.
extern const char* const kKnownJvmLocations[];
extern const int kKnownJvmLocationCount;

// The known locations expanded: for each match, the first of match,
// match/Contents/Home and match/jre where exe exists, in the list's order.
void knownLocationHomes(const SString& exe, StringDeque& homes);
