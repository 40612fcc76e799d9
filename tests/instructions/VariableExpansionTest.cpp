#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "instructions/ScriptFixture.h"

namespace {

class VariableExpansionTest : public ScriptTest {
 protected:
  void SetUp() override {
    ScriptTest::SetUp();
    setStringVariable(1, "abc");
    setNumericVariable(1, 7);
  }

  std::string expand(const char* text) {
    SString s = text;
    instructions.expandVariables(s, "ctx");
    return std::string(s.c_str(), s.length());
  }

  Failure expandFailure(const char* text) {
    return failureOf([&] { expand(text); });
  }
};

}  // namespace

TEST_F(VariableExpansionTest, ReplacesReferencesByValues) {
  setStringVariable(3, "<@N1@>");
  setStringVariable(4, "x@S3@");
  setStringVariable(5, "-@S1@@S1@");
  const struct {
    const char* text;
    const char* want;
  } cases[] = {
      {"plain text", "plain text"},
      {"@S1@", "abc"},
      {"x@S1@y@N1@z", "xabcy7z"},
      {"@s1@/@n1@", "abc/7"},
      {"@S2@", ""},
      // The number is read like any number: leading blanks, trailing text.
      {"@N 1@", "7"},
      {"@N1x@", "7"},
      // References held in values are expanded too, nested or repeated.
      {"@S3@", "<7>"},
      {"@S4@", "x<7>"},
      {"@S5@", "-abcabc"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.text);
    EXPECT_EQ(c.want, expand(c.text));
  }
}

TEST_F(VariableExpansionTest, DoubledAtStandsForOneAt) {
  const struct {
    const char* text;
    const char* want;
  } cases[] = {
      {"a@@b", "a@b"},
      {"@@", "@"},
      {"@@@@", "@@"},
      {"user@@host@@@@", "user@host@@"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.text);
    EXPECT_EQ(c.want, expand(c.text));
  }
}

// An empty value passes over nothing, so what follows the reference is read
// as it would be after a non-empty one.
TEST_F(VariableExpansionTest, EmptyValueDoesNotSwallowTheNextReference) {
  EXPECT_EQ("abc", expand("@S2@@S1@"));
  EXPECT_EQ("7abc", expand("@S2@@N1@@S2@@S1@"));
  EXPECT_EQ("x", expand("@S2@@S2@x"));
}

TEST_F(VariableExpansionTest, FailuresNameTheContextAndTheReference) {
  setStringVariable(3, "a@b");
  setStringVariable(4, "@N1@");
  const struct {
    const char* text;
    Failure want;
  } cases[] = {
      {"", {"ctx Empty expression.", 1}},
      {"@S1", {"ctx Invalid variable specification.", 1}},
      {"x@S1@y@", {"ctx Invalid variable specification.", 1}},
      // The '@' of an inserted value is read in the same pass.
      {"@S3@", {"ctx Invalid variable specification.", 1}},
      // The first character of an inserted value is passed over, so its
      // closing '@' opens a reference without end.
      {"@S4@", {"ctx Invalid variable specification.", 1}},
      // A later pass reads the '@' that "@@" left in an earlier one.
      {"@S1@ user@@host", {"ctx Invalid variable specification.", 1}},
      {"@N@", {"ctx Variable references must be at least 2 characters (e.g. N1 and S10).", 0}},
      {"@X1@", {"ctx Invalid variable reference (X1). Must use N or S as the variable type, e.g. N2 or S1.", 0}},
      {"@N6@", {"ctx Variable number is invalid (6)", 0}},
      {"@N0@", {"ctx Variable number is invalid (0)", 0}},
      {"@S11@", {"ctx Variable number is invalid (11)", 0}},
      {"@Sx@", {"ctx Variable number is invalid (x)", 0}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.text);
    EXPECT_EQ(c.want, expandFailure(c.text));
  }
}

TEST_F(VariableExpansionTest, ValueReferringToItselfFailsNamingTheReference) {
  const struct {
    const char* s1;
    const char* s2;
    const char* text;
    Failure want;
  } cases[] = {
      {"x@S1@", "", "@S1@", {"ctx Variable reference (S1) refers to itself and cannot be expanded.", 1}},
      {"x@s1@", "", "a@S1@b", {"ctx Variable reference (s1) refers to itself and cannot be expanded.", 1}},
      // Through another variable.
      {"a@S2@", "b@S1@", "@S1@", {"ctx Variable reference (S1) refers to itself and cannot be expanded.", 1}},
      {"a@S2@", "b@S1@", "@S2@", {"ctx Variable reference (S2) refers to itself and cannot be expanded.", 1}},
      // Each pass turns "@@S1@@" into a fresh reference for the next one.
      {"a@@S1@@b", "", "@S1@", {"ctx Variable reference (S1) refers to itself and cannot be expanded.", 1}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.s1);
    setStringVariable(1, c.s1);
    setStringVariable(2, c.s2);
    EXPECT_EQ(c.want, expandFailure(c.text));
  }
}

// A value may appear several times, and a reference that closes outside the
// value it opened in is no self-reference: both end.
TEST_F(VariableExpansionTest, RepeatedButFiniteReferencesExpand) {
  setStringVariable(1, "ab");
  setStringVariable(2, "-@S1@@S1@@S1@");
  EXPECT_EQ("-ababab-ababab", expand("@S2@@S2@"));

  setStringVariable(3, "S3@");
  EXPECT_EQ("S3S3ab", expand("@S3@S3@S1@"));
}

TEST_F(VariableExpansionTest, ExpansionLongerThanSixteenMegabytesFails) {
  setStringVariable(1, SString(1024 * 1024, 'x'));
  std::string manyRefs = "-";
  for (int i = 0; i < 16; ++i) manyRefs += "@S1@";
  setStringVariable(2, manyRefs.c_str());
  EXPECT_EQ((Failure{"ctx Variable reference (S1) expands to more than 16777216 characters.", 1}),
            expandFailure("@S2@"));

  // One reference less stays within the bound.
  setStringVariable(2, manyRefs.substr(0, manyRefs.size() - 4).c_str());
  EXPECT_EQ(1u + 15u * 1024u * 1024u, expand("@S2@").size());
}

// Each line may expand close to 16 MiB; without a bound for the whole run a
// script of a few KiB copies gigabytes.
TEST_F(VariableExpansionTest, RunExpandsAtMostSixtyFourMegabytesInAll) {
  auto setLines = [this](const std::vector<const char*>& lines) {
    tags.removeTag("INSTRUCTIONS");
    for (const char* line : lines) tags.addValue("INSTRUCTIONS", line);
  };
  setStringVariable(1, SString(1024 * 1024, 'x'));
  std::vector<const char*> lines(64, "SET S2 = @S1@");
  setLines(lines);
  EXPECT_EQ(0, instructions.execute());
  // Each run has the whole amount.
  EXPECT_EQ(0, instructions.execute());

  lines.push_back("SET S3 = @S1@");
  lines.push_back("ILAUNCH 1 0");
  setLines(lines);
  EXPECT_EQ((Failure{"Invalid expression specified for SET command Variable reference (S1) takes the script's "
                     "expansions beyond 67108864 characters in all.",
                     65}),
            failureOf([this] { instructions.execute(); }));
  EXPECT_TRUE(controller.calls.empty());
  EXPECT_EQ(0u, getStringVariable(3).length());
}

TEST_F(VariableExpansionTest, ExpandsMegabyteValuesInLinearTime) {
  const SString::size_type big = 4 * 1024 * 1024;
  SString value(big, 'v');
  setStringVariable(1, value);
  std::string text;
  for (int i = 0; i < 3; ++i) text += "<@S1@>";
  std::string got = expand(text.c_str());
  ASSERT_EQ(3 * (big + 2), got.size());
  EXPECT_EQ("<vv", got.substr(0, 3));
  EXPECT_EQ("v><v", got.substr(big, 4));
  EXPECT_EQ("v>", got.substr(got.size() - 2));
}

// The output is gathered in a buffer that grows in doubling steps; the
// expanded text gives the room reserved ahead back, and an empty one keeps
// no buffer at all.
TEST_F(VariableExpansionTest, ExpandedTextKeepsNoRoomReservedAhead) {
  setStringVariable(1, SString(100, 'v'));
  setStringVariable(2, "");
  std::string manyRefs;
  std::string manyValues;
  for (int i = 0; i < 1000; ++i) {
    manyRefs += "@S1@-";
    manyValues += std::string(100, 'v') + "-";
  }
  const struct {
    std::string text;
    std::string want;
  } cases[] = {
      {manyRefs, manyValues},
      {"x@S2@", "x"},
      {"@S2@", ""},
      {"a@@b", "a@b"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.text.substr(0, 20));
    SString s = c.text.c_str();
    instructions.expandVariables(s, "ctx");
    EXPECT_EQ(c.want, std::string(s.c_str(), s.length()));
    EXPECT_EQ(c.want.empty() ? 0u : s.length() | 31u, s.capacity());
  }
}
