// Which Java a class file needs. Every class file starts with 0xCAFEBABE,
// then its minor and major version (big-endian); a Java runs class files
// up to the major version of its own release, 44 + the release (Java 21
// writes 65, Java 8 writes 52) and refuses newer ones with
// UnsupportedClassVersionError. A launcher whose --java range admits an
// older Java than the main class needs fails for every user who has only
// such a Java, so lxpack compares the two before it writes one.
#pragma once

#include <string>

// The major version of the class file whose bytes (or their first eight)
// are given; -1 when they are no class file.
int classFileMajorVersion(const std::string& bytes);

// The Java release that first runs class files of major: 65 is "21", 52
// is "8"; before Java 5 the releases were 1.x (48 is "1.4").
std::string javaForClassFile(int major);

// The lowest version range admits (as written) when it is older than the
// Java release given; empty when range admits none older.
std::string olderJavaAdmitted(const std::string& range, unsigned long release);

// Empty when every Java range admits runs the class file; else why not,
// naming both: "Main.class needs Java 21 (class file 65); --java 17+
// admits 17". range must be one that javaRangeMistake accepts.
std::string classVersionMistake(const std::string& classFileName, int major, const std::string& range);
