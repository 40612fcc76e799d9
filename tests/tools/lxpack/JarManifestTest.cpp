#include <gtest/gtest.h>

#include "lxpack/JarManifest.h"

TEST(JarManifest, ReadsTheMainSectionAsJavaDoes) {
  const struct {
    const char* text;
    const char* mainClass;
  } cases[] = {
      {"Manifest-Version: 1.0\nMain-Class: com.example.Main\n", "com.example.Main"},
      {"Manifest-Version: 1.0\r\nMain-Class: com.example.Main\r\n\r\n", "com.example.Main"},
      {"Manifest-Version: 1.0\rMain-Class: com.example.Main\r", "com.example.Main"},
      // Wrapped at 72 bytes: the continuation line's first space is dropped.
      {"Main-Class: com.example.a.very.long.pack\r\n age.Main\r\n", "com.example.a.very.long.package.Main"},
      {"Main-Class: com.example.\n  Main\n", "com.example. Main"},
      {"main-CLASS: lower.Case\n", "lower.Case"},
      {"Main-Class:   padded.Main  \n", "padded.Main"},
      {"Main-Class: Last\nMain-Class: Wins\n", "Wins"},
      {"Main-Class: com.example.Main", "com.example.Main"},
      // Sections after the first empty line describe single entries.
      {"Manifest-Version: 1.0\n\nName: x/\nMain-Class: not.This\n", ""},
      {"Manifest-Version: 1.0\nnot an attribute\nMain-Class: still.Read\n", "still.Read"},
      {"Main-Classes: other.Attribute\n", ""},
      {"", ""},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.text);
    EXPECT_EQ(c.mainClass, JarManifest(c.text).value("Main-Class"));
  }
}
