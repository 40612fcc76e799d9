#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "base/LauncherException.h"
#include "launch/FunctionArguments.h"

TEST(FunctionArguments, ParsesArgumentListsAndReportsWhereTheyGoWrong) {
  typedef std::vector<std::string> Args;
  const SString::size_type kEnd = SString::npos;
  const struct {
    const char* text;
    SString::size_type start;
    Args args;
    SString::size_type end;
    const char* complaint;
  } cases[] = {
      {"()", 0, {}, 2, ""},
      {"( \t\r\n)rest", 0, {}, 6, ""},
      {"(\"a\",\"b\")", 0, {"a", "b"}, 9, ""},
      {"(\"a\", \"b\",)", 0, {"a", "b"}, 11, ""},  // a comma right before ")" is fine
      {" (\"\"\"q\"\"\" ) x", 0, {"\"q\""}, 11, ""},
      {"(\"\")", 0, {""}, 4, ""},
      {"(\"a\"", 0, {"a"}, kEnd, ""},  // the last quote ends the text: so does the call
      {"%X%(\"v\")", 3, {"v"}, 8, ""},
      {"", 0, {}, 0, "Expected left parenthesis. (near character 0)"},
      {"%X% x", 3, {}, 0, "Expected left parenthesis. (near character 3)"},
      {"(", 0, {}, 0, "Expected string arg. (near character 1)"},
      {"(,)", 0, {}, 0, "Expected string arg. (near character 1)"},
      {"(x)", 0, {}, 0, "Expected string arg. (near character 1)"},
      {"(\"a\",,)", 0, {}, 0, "Expected string arg. (near character 5)"},
      {"(\"a\" \"b\")", 0, {}, 0, "Expected right parenthesis. (near character 4)"},
      {"(\"a\" ", 0, {}, 0, "Expected right parenthesis. (near character 4)"},
      {"%X%(1)", 3, {}, 0, "Expected string arg. (near character 4)"},  // indices count from the text's start
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.text);
    StringDeque args;
    SString::size_type pos = c.start;
    SString complaint = parseFunctionArguments(c.text, pos, args);
    EXPECT_EQ(SString(c.complaint), complaint);
    if (!complaint.empty()) continue;
    EXPECT_EQ(c.end, pos);
    Args got;
    for (int i = 0; i < args.count(); ++i) got.push_back(args.get(i).c_str());
    EXPECT_EQ(c.args, got);
  }
}

TEST(FunctionArguments, UnterminatedArgumentThrowsTheTokenizerError) {
  StringDeque args;
  SString::size_type pos = 0;
  try {
    parseFunctionArguments("(\"abc", pos, args);
    FAIL() << "parsed";
  } catch (const LauncherException& e) {
    EXPECT_EQ(SString("Expected double quote to end argument near 2"), e.getMessage());
  }
}
