#include <gtest/gtest.h>

#include <string>

#include "instructions/ScriptFixture.h"

namespace {

class ArgumentEvaluationTest : public ScriptTest {
 protected:
  void SetUp() override {
    ScriptTest::SetUp();
    setStringVariable(1, "abc");
    setNumericVariable(1, 7);
    setNumericVariable(2, 1);
  }
};

std::string text(const SString& s) { return std::string(s.c_str(), s.length()); }

}  // namespace

TEST_F(ArgumentEvaluationTest, ParsesVariableReferences) {
  const struct {
    const char* text;
    char type;
    long number;
  } cases[] = {
      {"N1", 'N', 1}, {"n5", 'N', 5}, {"S10", 'S', 10}, {"s3", 'S', 3}, {"N 2", 'N', 2}, {"S3x", 'S', 3},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.text);
    VariableRef ref = instructions.parseVariableRef(c.text, "ctx");
    EXPECT_EQ(c.type, ref.type);
    EXPECT_EQ(c.number, ref.number);
  }
}

TEST_F(ArgumentEvaluationTest, BadVariableReferencesFailWithTheContext) {
  const struct {
    const char* text;
    const char* message;
  } cases[] = {
      {"", "ctx Variable references must be at least 2 characters (e.g. N1 and S10)."},
      {"S", "ctx Variable references must be at least 2 characters (e.g. N1 and S10)."},
      {"Q1", "ctx Invalid variable reference (Q1). Must use N or S as the variable type, e.g. N2 or S1."},
      {"1N", "ctx Invalid variable reference (1N). Must use N or S as the variable type, e.g. N2 or S1."},
      {"N0", "ctx Variable number is invalid (0)"},
      {"N6", "ctx Variable number is invalid (6)"},
      {"S11", "ctx Variable number is invalid (11)"},
      {"S-1", "ctx Variable number is invalid (-1)"},
      {"Nx", "ctx Variable number is invalid (x)"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.text);
    EXPECT_EQ((Failure{c.message, 0}), failureOf([&] { instructions.parseVariableRef(c.text, "ctx"); }));
  }
}

TEST_F(ArgumentEvaluationTest, SetVariableStoresTextAsGivenAndReadsNumbers) {
  instructions.setVariable(VariableRef{'S', 4}, "@N1@ stays", "ctx");
  EXPECT_EQ(SString("@N1@ stays"), getStringVariable(4));
  instructions.setVariable(VariableRef{'N', 3}, " -12", "ctx");
  EXPECT_EQ(-12, getNumericVariable(3));
  EXPECT_EQ(SString("-12"), instructions.variableText(VariableRef{'N', 3}));
  EXPECT_EQ(SString("@N1@ stays"), instructions.variableText(VariableRef{'S', 4}));

  EXPECT_EQ((Failure{"ctx Invalid numeric expression in abc", 0}), failureOf([&] {
              instructions.setVariable(VariableRef{'N', 3}, "abc", "ctx");
            }));
  EXPECT_EQ((Failure{"ctx Invalid numeric expression in ", 0}), failureOf([&] {
              instructions.setVariable(VariableRef{'N', 3}, "", "ctx");
            }));
  EXPECT_EQ(-12, getNumericVariable(3));
}

TEST_F(ArgumentEvaluationTest, EvaluatesNumbers) {
  const struct {
    const char* argument;
    long want;
  } cases[] = {
      {"42", 42}, {"-3", -3}, {"@N1@", 7}, {"1@N1@", 17}, {"12abc", 12}, {"@S2@5", 5},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.argument);
    EXPECT_EQ(c.want, instructions.evalNumber(c.argument, "ctx"));
    EXPECT_EQ(static_cast<short>(c.want), instructions.evalShort(c.argument, "ctx"));
  }
  EXPECT_EQ(-32768, instructions.evalShort("-32768", "ctx"));
}

// The numeric message follows the context directly; the short one after a
// blank, as the boolean one does.
TEST_F(ArgumentEvaluationTest, NumberFailuresShowTheExpandedText) {
  const struct {
    const char* argument;
    const char* number;
    const char* shortNumber;
  } cases[] = {
      {"abc", "ctxInvalid numeric expression (abc)", "ctx Invalid numeric expression (abc)"},
      {"@S1@", "ctxInvalid numeric expression (abc)", "ctx Invalid numeric expression (abc)"},
      {"x@N1@", "ctxInvalid numeric expression (x7)", "ctx Invalid numeric expression (x7)"},
      {"", "ctx Empty expression.", "ctx Empty expression."},
      {"@N1", "ctx Invalid variable specification.", "ctx Invalid variable specification."},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.argument);
    EXPECT_EQ((Failure{c.number, 1}), failureOf([&] { instructions.evalNumber(c.argument, "ctx"); }));
    EXPECT_EQ((Failure{c.shortNumber, 1}), failureOf([&] { instructions.evalShort(c.argument, "ctx"); }));
  }
}

TEST_F(ArgumentEvaluationTest, EvaluatesBooleans) {
  EXPECT_FALSE(instructions.evalBool("0", "ctx"));
  EXPECT_TRUE(instructions.evalBool("1", "ctx"));
  EXPECT_TRUE(instructions.evalBool("@N2@", "ctx"));
  const struct {
    const char* argument;
    const char* message;
  } cases[] = {
      {"2", "ctx Invalid boolean value (2)"},
      {"-1", "ctx Invalid boolean value (-1)"},
      // The argument is shown as written, not as expanded.
      {"@N1@", "ctx Invalid boolean value (@N1@)"},
      {"yes", "ctxInvalid numeric expression (yes)"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.argument);
    EXPECT_EQ((Failure{c.message, 1}), failureOf([&] { instructions.evalBool(c.argument, "ctx"); }));
  }
  EXPECT_EQ((Failure{" Invalid boolean value (2)", 1}), failureOf([&] { instructions.evalBool("2", ""); }));
}

TEST_F(ArgumentEvaluationTest, EvaluatesStrings) {
  const struct {
    const char* argument;
    const char* want;
  } cases[] = {
      {"", ""},
      {"abc", "abc"},
      {"x y", "x"},
      {"x\ty", "x"},
      {"\"x y\"", "x y"},
      {"\"say \"\"hi\"\"\"", "say \"hi\""},
      {"\"a\" rest", "a"},
      {"@S1@", "abc"},
      {"\"@S1@ @N1@\"", "abc 7"},
      {"a@@b", "a@b"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.argument);
    SString s = c.argument;
    instructions.evalString(s, "ctx");
    EXPECT_EQ(c.want, text(s));
  }
}

TEST_F(ArgumentEvaluationTest, StringFailures) {
  const struct {
    const char* argument;
    Failure want;
  } cases[] = {
      {"\"\"", {"ctx Empty expression.", 1}},
      {"\"abc", {"Expected double quote to end argument near 1", 0}},
      {"@S1", {"ctx Invalid variable specification.", 1}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.argument);
    SString s = c.argument;
    EXPECT_EQ(c.want, failureOf([&] { instructions.evalString(s, "ctx"); }));
  }
}

TEST_F(ArgumentEvaluationTest, ReadsQuotedOrPlainArgumentsOfALine) {
  setStringVariable(2, "/tmp/lxj1/jvm");
  const struct {
    const char* line;
    SString::size_type pos;
    const char* want;
    const char* rest;  // the line from the position left
  } cases[] = {
      {"L \"/opt/my jvm/x.jvm\" 0", 2, "/opt/my jvm/x.jvm", " 0"},
      {"L   \"/opt/my jvm/x.jvm\"", 1, "/opt/my jvm/x.jvm", ""},
      {"L @S2@ 5", 2, "/tmp/lxj1/jvm", "5"},
      {"L \t plain", 1, "plain", ""},
      {"L \"a\"\"b\" 5", 2, "a\"b", " 5"},
      {"L \"\"\"\"\"\" 1", 2, "\"\"", " 1"},
      {"L \"x\"y", 2, "x", "y"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.line);
    SString line = c.line;
    SString::size_type pos = c.pos;
    SString out = "stale";
    instructions.readQuotedArgument(line, pos, out, "ctx");
    EXPECT_EQ(c.want, text(out));
    EXPECT_EQ(c.rest, text(line.substr(pos)));
  }
}

// After the last word of a line the position is one past the end.
TEST_F(ArgumentEvaluationTest, QuotedArgumentPastTheEndIsEmpty) {
  SString::size_type pos = 2;
  SString out = "stale";
  instructions.readQuotedArgument("L", pos, out, "ctx");
  EXPECT_EQ(SString(), out);
  EXPECT_EQ(2u, pos);
}

TEST_F(ArgumentEvaluationTest, QuotedArgumentFailures) {
  const struct {
    const char* line;
    Failure want;
  } cases[] = {
      {"L \"/opt/x.jvm", {"Expected ending quote in \"/opt/x.jvm:  ctx", 0}},
      {"L \"a\"\"", {"Expected ending quote in \"a\"\":  ctx", 0}},
      {"L \"", {"Expected ending quote in \":  ctx", 0}},
      {"L \"\" 0", {"ctx Empty expression.", 1}},
      {"L @S3 0", {"ctx Invalid variable specification.", 1}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.line);
    SString::size_type pos = 1;
    SString out;
    EXPECT_EQ(c.want, failureOf([&] { instructions.readQuotedArgument(c.line, pos, out, "ctx"); }));
  }
}
