#include <gtest/gtest.h>

#include <string>

#include "base/Log.h"
#include "jvm/VerificationOutput.h"
#include "support/TempDir.h"

namespace {

// Properties as JVM_PROPERTIES lists them: name=expected.
void addProperty(StringPairPtrDeque& properties, const char* name, const char* expected) {
  StringPair* pair = new StringPair;
  pair->first = name;
  pair->second = expected;
  properties.add(pair);
}

// Runs the check with the log going to a file of its own and hands back
// what was logged.
bool check(const std::string& output, const StringPairPtrDeque& properties, std::string* logged) {
  TempDir dir;
  setLogFile(dir.file("log").c_str());
  bool ok = checkVerificationOutput(SString(output.c_str()), properties);
  setLogFile("");
  *logged = ReadFile(dir.file("log"));
  return ok;
}

TEST(VerificationOutput, MatchesExactValuesAndPrefixesAfterLeadingNoise) {
  StringPairPtrDeque properties;
  addProperty(properties, "java.vendor", "Example...");
  addProperty(properties, "java.version", "1.3.1...");
  const struct {
    const char* output;
    bool want;
  } cases[] = {
      {"warning text\n1739021872\nExample Corp.\n1.3.1\n", true},
      {"1739021872\r\n  Example Corp. \r\n1.3.1_07\r\n", true},
      {"1739021872\nExample Corp.\n1.3.1", true},
      {"1739021872\nExample Corp.\n1.4.0\n", false},
      {"1739021872\nExampl\n1.3.1\n", false},
      {"1739021872\nOther Corp.\n1.3.1\n", false},
      {"17390218720\n1739021872\nExample\n1.3.1\n", true},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.output);
    std::string logged;
    EXPECT_EQ(c.want, check(c.output, properties, &logged));
    EXPECT_EQ(std::string::npos, logged.find("ERROR"));
  }
}

TEST(VerificationOutput, WithoutMagicLineFailsAndLogsTheLastLine) {
  StringPairPtrDeque none;
  const struct {
    const char* output;
    const char* lastLine;
  } cases[] = {
      {"Error: Could not find or load main class Verify\nCaused by: x\n", "Caused by: x"},
      {"1739021871\n", "1739021871"},
      {"", ""},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.output);
    std::string logged;
    EXPECT_FALSE(check(c.output, none, &logged));
    EXPECT_NE(std::string::npos, logged.find(std::string("ERROR: Invalid magic value: ") + c.lastLine + "\n\n"));
  }
}

TEST(VerificationOutput, PropertyNotSetOnlyPassesAnAnythingRequirement) {
  const struct {
    const char* expected;
    bool want;
  } cases[] = {
      {"...", true},
      {"null", false},
      {"nu...", false},
      {"1.8", false},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.expected);
    StringPairPtrDeque properties;
    addProperty(properties, "no.such.property", c.expected);
    std::string logged;
    EXPECT_EQ(c.want, check("1739021872\nnull\n", properties, &logged));
  }
}

TEST(VerificationOutput, OutputEndingBeforeThePropertiesFails) {
  StringPairPtrDeque properties;
  addProperty(properties, "java.vendor", "...");
  addProperty(properties, "java.version", "17...");
  std::string logged;
  EXPECT_FALSE(check("1739021872\nExample Corp.\n", properties, &logged));
  EXPECT_NE(std::string::npos,
            logged.find("WARNING: The verification output ended before the value of java.version.\n"));
  EXPECT_FALSE(check("1739021872\n", properties, &logged));
}

TEST(VerificationOutput, NoPropertiesNeedOnlyTheMagicLine) {
  StringPairPtrDeque none;
  std::string logged;
  EXPECT_TRUE(check("noise\n1739021872\n", none, &logged));
  EXPECT_TRUE(check("1739021872", none, &logged));
}

}  // namespace
