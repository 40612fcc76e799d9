#include <gtest/gtest.h>

#include <cstdint>
#include <map>
#include <string>

#include "jvm/MacroHandler.h"

namespace {

typedef std::map<std::string, std::string> Values;

std::string repeated(const std::string& text, int times) {
  std::string result;
  for (int i = 0; i < times; ++i) result += text;
  return result;
}

// Resolves names from a table, as a JVM description resolves its tags.
class TableHandler : public MacroHandler {
 public:
  explicit TableHandler(std::map<std::string, std::string> values) : values_(std::move(values)) {}
  void resolveMacro(SString& text, char, SString::size_type start, SString::size_type& end) override {
    std::string name = text.substr(start + 1, end - start - 1).c_str();
    auto found = values_.find(name);
    text.replace(start, end - start + 1, found == values_.end() ? "" : found->second.c_str());
    ++calls;
  }
  int calls = 0;

 private:
  std::map<std::string, std::string> values_;
};

}  // namespace

TEST(ExpandMacros, ScansCollapsesAndRescans) {
  TableHandler handler(Values{{"JVM_EXE", "jre/bin/java"}, {"OUTER", "<@INNER@>"}, {"INNER", "in"}});
  const struct {
    const char* text;
    const char* want;
  } cases[] = {
      {"\"@JVM_EXE@\"", "\"jre/bin/java\""},
      {"@NOSUCH@x", "x"},
      {"x@y", "x@y"},         // a lone marker stays
      {"a@@b", "a@b"},        // doubled, nothing after it: a literal marker
      {"a@@b@c", "ac"},       // the pair opens the name "@b"
      {"@OUTER@!", "<in>!"},  // an inserted value is expanded in turn
      {"@@", "@"},
      {"@@@@", "@"},  // the pair opens a name "@", which has no value
      {"x@@", "x@"},  // a marker in the last two places ends the scan
      {"@a", "@a"},
      {"@JVM_EXE@@JVM_EXE@", "jre/bin/javajre/bin/java"},
      {"@JVM_EXE@ 5@", "jre/bin/java 5@"},  // an unmatched marker ends the scan
      {"", ""},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.text);
    EXPECT_EQ(SString(c.want), expandMacros(&handler, c.text, '@'));
  }
}

TEST(ExpandMacros, OtherMarkersAreLeftAlone) {
  TableHandler handler(Values{{"P", "value"}});
  EXPECT_EQ(SString("%P% value #P#"), expandMacros(&handler, "%P% @P@ #P#", '@'));
  EXPECT_EQ(SString("value @P@ #P#"), expandMacros(&handler, "%P% @P@ #P#", '%'));
}

TEST(ExpandMacros, ValueThatBringsItsMacroBackIsStopped) {
  const struct {
    std::map<std::string, std::string> values;
    const char* text;
    const char* name;
  } cases[] = {
      {{{"A", "x@A@"}}, "start @A@ end", "@A@"},
      {{{"A", "@B@"}, {"B", "(@A@)"}}, "@A@", "@A@"},
      {{{"A", "@A@@A@"}}, "@A@", "@A@"},
      {{{"A", std::string(5000, 'v') + "@A@"}}, "@A@", "@A@"},  // grows fast: the length bound stops it
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.text);
    TableHandler handler(c.values);
    try {
      expandMacros(&handler, c.text, '@');
      ADD_FAILURE() << "expansion ended";
    } catch (const MacroLoopException& e) {
      EXPECT_EQ("The macro " + std::string(c.name) +
                    " refers to itself, directly or through other values, and cannot be expanded.",
                e.getMessage().c_str());
      EXPECT_TRUE(e.getText().find(c.name) != SString::npos) << e.getText();
    }
    EXPECT_LE(handler.calls, 4096);
  }
}

// A replacement may copy the whole text. A value that brings its macro back
// a little further on grows the text slowly enough to stay below the
// replacement and length bounds for thousands of replacements, each copying
// hundreds of KiB: seconds of work for one command.
class RewriteCountingHandler : public TableHandler {
 public:
  using TableHandler::TableHandler;
  void resolveMacro(SString& text, char marker, SString::size_type start, SString::size_type& end) override {
    rewritten += text.length();
    TableHandler::resolveMacro(text, marker, start, end);
  }
  uint64_t rewritten = 0;
};

TEST(ExpandMacros, SlowlyGrowingSelfReferenceIsStoppedBeforeTheWorkExplodes) {
  RewriteCountingHandler handler(Values{{"X", std::string(130, 'v') + "@X@@X@"}});
  try {
    expandMacros(&handler, "@X@", '@');
    ADD_FAILURE() << "expansion ended";
  } catch (const MacroLoopException& e) {
    EXPECT_EQ("The macro @X@ refers to itself, directly or through other values, and cannot be expanded.",
              std::string(e.getMessage().c_str()));
  }
  // Without a bound on it, 4096 replacements rewrite over 1 GiB.
  EXPECT_LE(handler.rewritten, 64u * 1024 * 1024);
}

// Resolves every function call by expanding a text with its own handler,
// as launch script functions expand their arguments.
class NestingHandler : public MacroHandler {
 public:
  NestingHandler(MacroHandler* inner, const char* innerText) : inner_(inner), innerText_(innerText) {}
  void resolveMacro(SString& text, char, SString::size_type start, SString::size_type& end) override {
    SString value = expandMacros(inner_, innerText_, '@');
    text.replace(start, end - start + 1, value.substr(0, 1));
    ++calls;
  }
  int calls = 0;

 private:
  MacroHandler* inner_;
  const char* innerText_;
};

TEST(ExpandMacros, NestedExpansionsShareTheOutermostBound) {
  // Expanding @A@ copies about 20 MiB: 585 replacements on a text that
  // grows to 100 KiB. No loop, and well within every bound on its own.
  RewriteCountingHandler inner(Values{
      {"A", repeated("@B@", 8)}, {"B", repeated("@C@", 8)}, {"C", repeated("@D@", 8)}, {"D", std::string(200, 'x')}});
  EXPECT_EQ(512u * 200u, expandMacros(&inner, "@A@", '@').length());
  EXPECT_LE(inner.rewritten, 64u * 1024 * 1024);

  // Ten such calls in one command would copy 200 MiB.
  inner.rewritten = 0;
  NestingHandler outer(&inner, "@A@");
  EXPECT_THROW(expandMacros(&outer, repeated("%F%", 10).c_str(), '%'), MacroLoopException);
  EXPECT_LT(outer.calls, 4);
  EXPECT_LE(inner.rewritten, 64u * 1024 * 1024);

  // The next expansion has the whole bound again.
  EXPECT_EQ(512u * 200u, expandMacros(&inner, "@A@", '@').length());
}

TEST(ExpandMacros, ManyDistinctMacrosAreNoLoop) {
  std::map<std::string, std::string> values;
  std::string text;
  for (int i = 0; i < 1000; ++i) {
    values["M" + std::to_string(i)] = "-D" + std::to_string(i);
    text += "@M" + std::to_string(i) + "@ ";
  }
  TableHandler handler(values);
  SString expanded = expandMacros(&handler, text.c_str(), '@');
  EXPECT_EQ(1000, handler.calls);
  EXPECT_EQ(SString("-D0 -D1 "), expanded.substr(0, 8));
}
