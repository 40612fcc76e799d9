// A JDK or JRE since Java 9, and many of Java 8, carry a "release" file in
// their home with the line JAVA_VERSION="...". Reading it costs a few
// microseconds where starting the JVM costs a good part of a second, so a
// candidate whose version cannot be the one required is ruled out by it.
// It never accepts a candidate: only the verification run does.
#pragma once

#include "base/SString.h"

// The value of the line KEY="..." of <home>/release without its quotes;
// false when there is no such file or line, or the value is empty.
bool readReleaseValue(const SString& home, const char* key, SString& value);

// The JAVA_VERSION value of <home>/release without its quotes; false when
// there is no such file or line.
bool readReleaseJavaVersion(const SString& home, SString& version);

// True when a JVM whose release file gives found cannot print a
// java.version that meets required (an exact value, or a prefix ending in
// "..."): the two texts differ at a position that both have. When one is
// a prefix of the other, only the JVM itself can tell.
bool releaseVersionRulesOut(const SString& found, const SString& required);

// The JAVA_VERSION of the release file that describes the JVM at
// home/exe: the home's own; else that of the home the java really lies in
// (a PATH entry /usr/bin whose java is a link into /usr/lib/jvm/...); else,
// for the jre/ of a Java 8 JDK, the JDK's.
bool readHomeReleaseVersion(const SString& home, const SString& exe, SString& version);
