#include <gtest/gtest.h>

#include <string>

#include "lxpack/ClassFileVersion.h"

namespace {

// The first eight bytes of a class file: magic, minor and major version.
std::string classHeader(unsigned magic, unsigned minor, unsigned major) {
  std::string bytes;
  for (int shift = 24; shift >= 0; shift -= 8) bytes += static_cast<char>((magic >> shift) & 0xFF);
  bytes += static_cast<char>(minor >> 8);
  bytes += static_cast<char>(minor & 0xFF);
  bytes += static_cast<char>(major >> 8);
  bytes += static_cast<char>(major & 0xFF);
  return bytes;
}

}  // namespace

TEST(ClassFileVersion, ReadsTheMajorVersionOfAClassFile) {
  const struct {
    const char* what;
    std::string bytes;
    int major;
  } cases[] = {
      {"Java 21", classHeader(0xCAFEBABE, 0, 65) + "rest of the class", 65},
      {"Java 8", classHeader(0xCAFEBABE, 0, 52), 52},
      {"Java 1.1", classHeader(0xCAFEBABE, 3, 45), 45},
      {"preview features", classHeader(0xCAFEBABE, 0xFFFF, 69), 69},
      {"a major beyond 255", classHeader(0xCAFEBABE, 0, 0x0141), 0x0141},
      {"older than any Java", classHeader(0xCAFEBABE, 0, 44), -1},
      {"no magic", classHeader(0xCAFEBABF, 0, 65), -1},
      {"a zip entry's header", "PK\x03\x04\x14\x00\x00\x00", -1},
      {"cut short", classHeader(0xCAFEBABE, 0, 65).substr(0, 7), -1},
      {"empty", "", -1},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    EXPECT_EQ(c.major, classFileMajorVersion(c.bytes));
  }
}

TEST(ClassFileVersion, NamesTheJavaReleaseThatFirstRunsIt) {
  const struct {
    int major;
    const char* java;
  } cases[] = {{45, "1.1"}, {48, "1.4"}, {49, "5"}, {52, "8"}, {55, "11"}, {61, "17"}, {65, "21"}, {69, "25"}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.major);
    EXPECT_EQ(c.java, javaForClassFile(c.major));
  }
}

TEST(ClassFileVersion, RefusesARangeThatAdmitsAnOlderJavaNamingBoth) {
  const struct {
    const char* file;
    int major;
    const char* range;
    const char* mistake;
  } cases[] = {
      {"Main.class", 65, "17+", "Main.class needs Java 21 (class file 65); --java 17+ admits 17"},
      {"Main.class", 65, "11-21", "Main.class needs Java 21 (class file 65); --java 11-21 admits 11"},
      {"Main.class", 65, "17.0.5+", "Main.class needs Java 21 (class file 65); --java 17.0.5+ admits 17.0.5"},
      {"Main.class", 65, "20", "Main.class needs Java 21 (class file 65); --java 20 admits 20"},
      {"com/example/App.class", 61, "11+", "com/example/App.class needs Java 17 (class file 61); --java 11+ admits 11"},
      {"Old.class", 52, "1.7+", "Old.class needs Java 8 (class file 52); --java 1.7+ admits 1.7"},
      {"Older.class", 48, "1.3+", "Older.class needs Java 1.4 (class file 48); --java 1.3+ admits 1.3"},
      {"Main.class", 65, "21+", ""},
      {"Main.class", 65, "21", ""},
      {"Main.class", 65, "21.0.2+", ""},
      {"Main.class", 65, "22-25", ""},
      {"Main.class", 52, "1.8+", ""},
      {"Main.class", 52, "8", ""},
      {"Main.class", 61, "17-21", ""},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(std::string(c.file) + " " + c.range);
    EXPECT_EQ(c.mistake, classVersionMistake(c.file, c.major, c.range));
  }
}
