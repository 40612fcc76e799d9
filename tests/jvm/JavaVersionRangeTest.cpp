// Version ranges of JVM descriptions against the versions JVMs report.
#include <gtest/gtest.h>

#include <string>

#include "jvm/JavaVersionRange.h"
#include "messages/ConsoleFixture.h"

namespace {

const char* const kVersions[] = {"1.8.0_392", "9", "11.0.2", "17.0.9", "21.0.5", "25", "30.0.1", "25-ea"};

// One row per range; accepted lists the versions of kVersions it takes, in
// that order.
TEST(JavaVersionRange, TakesTheVersionsEachFormNames) {
  const struct {
    const char* range;
    const char* accepted;
  } cases[] = {
      {"8", "1.8.0_392"},
      {"1.8", "1.8.0_392"},
      {"8+", "1.8.0_392 9 11.0.2 17.0.9 21.0.5 25 30.0.1 25-ea"},
      {"1.8+", "1.8.0_392 9 11.0.2 17.0.9 21.0.5 25 30.0.1 25-ea"},
      {"17", "17.0.9"},
      {"17+", "17.0.9 21.0.5 25 30.0.1 25-ea"},
      {"11-21", "11.0.2 17.0.9 21.0.5"},
      {"9-11", "9 11.0.2"},
      {"21-25", "21.0.5 25 25-ea"},
      {"25", "25 25-ea"},
      {"26+", "30.0.1"},
      {"17.0.5+", "17.0.9 21.0.5 25 30.0.1 25-ea"},
      {"17.0.10+", "21.0.5 25 30.0.1 25-ea"},
      {"25.0.1+", "30.0.1"},
      {"17.0.9", "17.0.9"},
      {"17.0", "17.0.9"},
      {"1.8.0_392", "1.8.0_392"},
      {"1.8.0_393+", "9 11.0.2 17.0.9 21.0.5 25 30.0.1 25-ea"},
      {"11.0.2-17.0.8", "11.0.2"},
      {"31+", ""},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.range);
    JavaVersionRange range;
    SString why;
    ASSERT_TRUE(range.parse(c.range, why)) << why.c_str();
    std::string accepted;
    for (const char* version : kVersions) {
      if (range.contains(SString(version))) accepted += (accepted.empty() ? "" : " ") + std::string(version);
    }
    EXPECT_EQ(c.accepted, accepted);
  }
}

// The bounds as the packager wrote them, from which a user is told which
// Java to get.
TEST(JavaVersionRange, GivesItsBoundsAsWritten) {
  const struct {
    const char* text;
    const char* lowest;
    const char* highest;
    bool orNewer;
  } cases[] = {
      {"17+", "17", "", true},
      {"17.0.5+", "17.0.5", "", true},
      {"11-21", "11", "21", false},
      {"17", "17", "17", false},
      {" 1.8+ ", "1.8", "", true},
      {"17-17", "17", "17", false},
      {"11.0.2-17", "11.0.2", "17", false},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.text);
    JavaVersionRange range;
    SString why;
    ASSERT_TRUE(range.parse(c.text, why)) << why.c_str();
    EXPECT_STREQ(c.lowest, range.lowest().c_str());
    EXPECT_STREQ(c.highest, range.highest().c_str());
    EXPECT_EQ(c.orNewer, range.orNewer());
  }
}

TEST(JavaVersionRange, RefusesMalformedRangesSayingWhy) {
  const char* const malformed[] = {"",       " ",         "+17", "17++",  "17-",   "-17",   "21-11",
                                   "17+-21", "seventeen", "17.", ".17",   "17..0", "17,21", "17 21",
                                   "0",      "0+",        "1.0", "17-ea", "x17",   "17x",   "99999999999+"};
  for (const char* text : malformed) {
    SCOPED_TRACE(std::string("[") + text + "]");
    JavaVersionRange range;
    SString why;
    EXPECT_FALSE(range.parse(text, why));
    EXPECT_TRUE(why.find("the forms are N, N+, N-M") != SString::npos) << why.c_str();
  }
  JavaVersionRange reversed;
  SString why;
  reversed.parse("21-11", why);
  EXPECT_STREQ("\"21-11\" ends before it starts (the forms are N, N+, N-M and full versions such as 17.0.5+)",
               why.c_str());
}

// What a user without a fitting Java reads: the range in words, and each
// version found beside it, as precise as the range and on the side of it
// where it falls.
TEST(JavaVersionRange, TellsAUserWhereAFoundVersionFalls) {
  ScopedLang english("C");
  const struct {
    const char* range;
    const char* words;
    const char* found;
    int side;  // -1 older than the range, 0 in it, 1 newer
    const char* shown;
  } cases[] = {
      {"21+", "Java 21 or newer", "17.0.9", -1, "17"},
      {"21+", "Java 21 or newer", "1.8.0_392", -1, "8"},
      {"21+", "Java 21 or newer", "25-ea", 0, "25-ea"},
      {"11-21", "Java 11 to 21", "25.0.1", 1, "25"},
      {"11-21", "Java 11 to 21", "21.0.5", 0, "21"},
      {"11-21", "Java 11 to 21", "9", -1, "9"},
      {"17", "Java 17", "21.0.5", 1, "21"},
      {"17", "Java 17", "11.0.2", -1, "11"},
      {"17.0.10+", "Java 17.0.10 or newer", "17.0.9", -1, "17.0.9"},
      {"17.0.10+", "Java 17.0.10 or newer", "1.8.0_392", -1, "1.8.0_392"},
      {"11.0.22-17.0.8", "Java 11.0.22 to 17.0.8", "17.0.9", 1, "17.0.9"},
      {"11.0.22-17.0.8", "Java 11.0.22 to 17.0.8", "25", 1, "25"},
      {"1.8+", "Java 1.8 or newer", "1.7.0_80", -1, "7"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(std::string(c.range) + " / " + c.found);
    JavaVersionRange range;
    SString why;
    ASSERT_TRUE(range.parse(c.range, why)) << why.c_str();
    EXPECT_STREQ(c.words, range.inWords().c_str());
    JavaVersion version;
    ASSERT_TRUE(parseJavaVersion(c.found, version));
    const int side = range.compareWith(version);
    EXPECT_EQ(c.side, side < 0 ? -1 : side > 0 ? 1 : 0);
    EXPECT_EQ(c.side == 0, range.contains(version));
    EXPECT_STREQ(c.shown, range.versionInWords(c.found).c_str());
  }
  JavaVersionRange range;
  SString why;
  ASSERT_TRUE(range.parse("21+", why));
  EXPECT_STREQ("unknown", range.versionInWords(" unknown ").c_str());
}

TEST(JavaVersionRange, NamesTheRangeInTheUsersLanguage) {
  const struct {
    const char* lang;
    const char* range;
    const char* words;
  } cases[] = {
      {"de_DE.UTF-8", "21+", "Java 21 oder neuer"},
      {"de_DE.UTF-8", "11-21", "Java 11 bis 21"},
      {"ja_JP.UTF-8", "21+", "Java 21 以降"},
      {"ru_RU.UTF-8", "11-21", "Java от 11 до 21"},
      {"fr_FR.UTF-8", "17", "Java 17"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(std::string(c.lang) + " " + c.range);
    ScopedLang lang(c.lang);
    JavaVersionRange range;
    SString why;
    ASSERT_TRUE(range.parse(c.range, why)) << why.c_str();
    EXPECT_STREQ(c.words, range.inWords().c_str());
  }
}

TEST(JavaVersion, ReadsWhatJvmsReportAndOrdersItNewestLast) {
  // Each is older than the next.
  const char* const ascending[] = {"1.7.0_80", "1.8.0_392", "9",     "11.0.2", "17",    "17.0.9+9",
                                   "21.0.5",   "25-ea",     "25+36", "25.0.1", "30.0.1"};
  for (size_t i = 0; i + 1 < sizeof ascending / sizeof *ascending; ++i) {
    SCOPED_TRACE(std::string(ascending[i]) + " < " + ascending[i + 1]);
    JavaVersion older, newer;
    ASSERT_TRUE(parseJavaVersion(ascending[i], older));
    ASSERT_TRUE(parseJavaVersion(ascending[i + 1], newer));
    EXPECT_LT(compareJavaVersions(older, newer), 0);
    EXPECT_GT(compareJavaVersions(newer, older), 0);
  }
  JavaVersion a, b;
  ASSERT_TRUE(parseJavaVersion("17", a));
  ASSERT_TRUE(parseJavaVersion("17.0.0", b));
  EXPECT_EQ(0, compareJavaVersions(a, b));
  for (const char* unreadable : {"", "null", "ea-25", "v17"}) {
    SCOPED_TRACE(unreadable);
    EXPECT_FALSE(parseJavaVersion(unreadable, a));
    JavaVersionRange any;
    SString why;
    ASSERT_TRUE(any.parse("1+", why));
    EXPECT_FALSE(any.contains(SString(unreadable)));
  }
}

}  // namespace
