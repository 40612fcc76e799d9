#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "base/Log.h"
#include "fsutil/Platform.h"
#include "fsutil/TempFiles.h"
#include "launcher/CommandLine.h"
#include "launcher/OptionHelp.h"
#include "launcher/Settings.h"
#include "messages/ConsoleFixture.h"
#include "support/TempDir.h"

namespace {

StringDeque argumentsOf(const std::vector<std::string>& words) {
  StringDeque args;
  for (const std::string& word : words) args.add(word.c_str());
  return args;
}

// "-lx:log=x.log -lx:silent -cp:p? | [a] [b]": the options in order, each
// with its value, "?" for a value the command line ended before; then what
// the program gets.
std::string described(const CommandLine& line) {
  std::string text;
  for (const OptionUse& use : line.options) {
    text += use.option->name;
    if (use.hasValue) text += std::string("=") + use.value.c_str();
    if (use.option->valueName && !use.hasValue) text += "?";
    text += " ";
  }
  text += "|";
  for (const SString& argument : line.programArguments) text += std::string(" [") + argument.c_str() + "]";
  return text;
}

TEST(ParseCommandLine, OptionsEndWhereTheProgramsArgumentsBegin) {
  const struct {
    std::vector<std::string> args;
    const char* want;
  } cases[] = {
      {{}, "|"},
      {{"-lx:silent", "a", "-lx:version"}, "-lx:silent | [a] [-lx:version]"},
      {{"a", "-lx:in", "x.tag"}, "| [a] [-lx:in] [x.tag]"},
      // "--" ends the options and is not passed on; a second one is.
      {{"--", "-lx:version"}, "| [-lx:version]"},
      {{"-lx:javaconsole", "--", "--", "x"}, "-lx:javaconsole | [--] [x]"},
      {{"a", "--", "b"}, "| [a] [--] [b]"},
      // A value is the next argument, whatever it looks like.
      {{"-lx:log", "--", "a"}, "-lx:log=-- | [a]"},
      {{"-lx:in", "-lx:version"}, "-lx:in=-lx:version |"},
      {{"-lx:javahome", ""}, "-lx:javahome= |"},
      {{"-lx:orig", "/t/setup.bin", "a"}, "-lx:orig=/t/setup.bin | [a]"},
      // A value option that ends the command line has none.
      {{"-lx:silent", "-lx:log"}, "-lx:silent -lx:log? |"},
      {{"-cp:p"}, "-cp:p? |"},
      // Every use counts, in order: the later value replaces the earlier.
      {{"-cp:a", "x", "-cp:a", "y"}, "-cp:a=x -cp:a=y |"},
      // Only the exact spelling is an option: anything else is the program's
      // first argument, unknown -lx: words too.
      {{"-lx:foo", "-lx:silent"}, "| [-lx:foo] [-lx:silent]"},
      {{"-LX:VERSION", "-lx:version"}, "| [-LX:VERSION] [-lx:version]"},
      {{"-lx:version=1"}, "| [-lx:version=1]"},
      {{"-lx:silent ", "x"}, "| [-lx:silent ] [x]"},
      {{"-lx:silent", ""}, "-lx:silent | []"},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(c.want, described(parseCommandLine(argumentsOf(c.args)))) << testing::PrintToString(c.args);
  }
}

// What the options asked of the run, in order; an input file records what
// it would see of the options before it.
class RecordingRun final : public OptionRun {
 public:
  void failRun() override { calls.push_back("fail"); }
  void skipInstructions() override { calls.push_back("skip"); }
  void extractEmbeddedFiles() override { calls.push_back("extract"); }
  void processInputFile(const SString& value) override {
    calls.push_back(std::string("in ") + value.c_str() + " (javahome " + settings().javaHome.c_str() + ", log " +
                    getLogFile().c_str() + ")");
  }

  std::string joined() const {
    std::string text;
    for (const std::string& call : calls) text += (text.empty() ? "" : ", ") + call;
    return text;
  }

  std::vector<std::string> calls;
};

std::string passedOn() {
  std::string text;
  for (int i = 0; i < settings().passOnArgs.count(); ++i) {
    text += std::string(text.empty() ? "" : " ") + "[" + settings().passOnArgs.get(i).c_str() + "]";
  }
  return text;
}

// The options write the process-wide settings and the console: both start
// known and are put back.
class ApplyCommandLine : public ConsoleTest {
 protected:
  ApplyCommandLine() : saved_(copyOf(settings())) {
    settings().javaHome = "/before/jdk";
    settings().cpPrepend = "before-first.jar";
    settings().cpAppend = "before-last.jar";
    settings().origLauncherPath = "/before/setup.bin";
    settings().javaConsole = 0;
    settings().passOnArgs = StringDeque();
    setLogFile(dir.file("first.log").c_str());
  }

  ~ApplyCommandLine() override {
    settings().javaHome = saved_.javaHome;
    settings().cpPrepend = saved_.cpPrepend;
    settings().cpAppend = saved_.cpAppend;
    settings().origLauncherPath = saved_.origLauncherPath;
    settings().javaConsole = saved_.javaConsole;
    settings().launcherPath = saved_.launcherPath;
    settings().passOnArgs = StringDeque();
    setLogFile("");
  }

  // Parses and applies; the calls the run got.
  std::string apply(const std::vector<std::string>& args) {
    RecordingRun run;
    applyCommandLine(parseCommandLine(argumentsOf(args)), run);
    return run.joined();
  }

  TempDir dir;

 private:
  struct Saved {
    SString javaHome, cpPrepend, cpAppend, origLauncherPath;
    SString launcherPath;
    int javaConsole;
  };
  static Saved copyOf(const LauncherSettings& s) {
    return {s.javaHome, s.cpPrepend, s.cpAppend, s.origLauncherPath, s.launcherPath, s.javaConsole};
  }
  Saved saved_;
};

// Each option that needs a value and ends the command line without one
// reacts its own way; none takes an empty value in its place.
TEST_F(ApplyCommandLine, AValueMissingAtTheEndIsReportedOrIgnoredAsEachOptionSays) {
  const SString tempRoot = GetTempRoot();
  const struct {
    const char* option;
    const char* console;
    const char* calls;
  } cases[] = {
      {"-lx:log", "A log file name must be specified after the -lx:log option on the command line.\n", "fail"},
      {"-lx:orig", "Missing original launcher file name.\n", "fail"},
      {"-lx:in", "An input file name must follow the '-in' command line option.\n", "skip, fail"},
      {"-lx:javahome", "-lx:javahome needs a directory after it; ignored.\n", ""},
      {"-lx:tempdir", "", ""},
      {"-cp:p", "", ""},
      {"-cp:a", "", ""},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(c.calls, apply({"-lx:javaconsole", c.option})) << c.option;
    EXPECT_EQ(c.console, takeOutput()) << c.option;
    EXPECT_STREQ("/before/jdk", settings().javaHome.c_str()) << c.option;
    EXPECT_STREQ("before-first.jar", settings().cpPrepend.c_str()) << c.option;
    EXPECT_STREQ("before-last.jar", settings().cpAppend.c_str()) << c.option;
    EXPECT_STREQ("/before/setup.bin", settings().origLauncherPath.c_str()) << c.option;
    EXPECT_EQ(dir.file("first.log"), getLogFile().c_str()) << c.option;
    EXPECT_EQ(tempRoot, GetTempRoot()) << c.option;
    EXPECT_EQ("", passedOn()) << c.option;
  }
}

TEST_F(ApplyCommandLine, ValuesFillTheSettingsAndTheProgramGetsTheRest) {
  EXPECT_EQ("", apply({"-cp:p", "x.jar", "-cp:a", "y.jar", "-lx:javahome", dir.path(), "-lx:javaconsole", "-cp:p",
                       "z.jar", "a", "-cp:p", "w.jar", "--", ""}));
  EXPECT_EQ("", takeOutput());
  EXPECT_STREQ("z.jar", settings().cpPrepend.c_str());
  EXPECT_STREQ("y.jar", settings().cpAppend.c_str());
  EXPECT_EQ(dir.path(), settings().javaHome.c_str());
  EXPECT_EQ(1, settings().javaConsole);
  EXPECT_EQ("[a] [-cp:p] [w.jar] [--] []", passedOn());
}

// An input file is acted on where it stands: it sees the options before it,
// none after it, and options after it still act.
TEST_F(ApplyCommandLine, OptionsActInTheOrderGiven) {
  TempDir other;
  EXPECT_EQ("in one.tag (javahome " + dir.path() + ", log " + dir.file("first.log") + "), skip, extract, skip, " +
                "in two.tag (javahome " + other.path() + ", log " + other.file("second.log") + ")",
            apply({"-lx:javahome", dir.path(), "-lx:in", "one.tag", "-lx:version", "-lx:log", other.file("second.log"),
                   "-lx:javahome", other.path(), "-lx:extract", "-lx:in", "two.tag", "program-argument"}));
  EXPECT_EQ("2.47\n", takeOutput());
  EXPECT_EQ("[program-argument]", passedOn());
}

TEST_F(ApplyCommandLine, SilentSilencesOnlyWhatComesAfterIt) {
  EXPECT_EQ("skip, skip, fail", apply({"-lx:version", "-lx:silent", "-lx:version", "-lx:log"}));
  EXPECT_EQ("2.47\n", takeOutput());
}

// This process was started by no launcher that handed over to it: the
// option would delete the launcher's own file at the end.
TEST_F(ApplyCommandLine, OriginalLauncherWithoutTheHandOverIsRefusedAndTakesItsValue) {
  settings().launcherPath = dir.write("setup.bin", "launcher").c_str();
  EXPECT_EQ("fail", apply({"-lx:orig", dir.file("setup.bin"), "a"}));
  EXPECT_EQ(
      "-lx:orig is refused: only a launcher handing over to the launcher embedded in it may give it. Nothing is "
      "deleted.\n",
      takeOutput());
  EXPECT_STREQ("/before/setup.bin", settings().origLauncherPath.c_str());
  RemoveTempFiles();
  EXPECT_TRUE(FileExists(dir.file("setup.bin").c_str())) << "the clean-up removed the launcher's own file";
  EXPECT_EQ("[a]", passedOn());
}

// -lx:help lists what the scan recognises, each with a value where it takes
// one; only -lx:orig, which serves the hand-over, is recognised unlisted.
TEST_F(ApplyCommandLine, HelpListsEveryOptionTheScanRecognisesButOrig) {
  printOptionHelp();
  std::string help = takeOutput();
  std::vector<std::string> listed;
  size_t lineStart = help.find('\n') + 1;  // after the heading
  for (size_t end; (end = help.find('\n', lineStart)) != std::string::npos; lineStart = end + 1) {
    std::string line = help.substr(lineStart, end - lineStart);
    ASSERT_EQ(0u, line.find("  -")) << line;
    size_t nameEnd = line.find(' ', 2);
    std::string name = line.substr(2, nameEnd - 2);
    bool namesValue = line[nameEnd + 1] >= 'A' && line[nameEnd + 1] <= 'Z';
    CommandLine parsed = parseCommandLine(argumentsOf({name, "value"}));
    ASSERT_EQ(1u, parsed.options.size()) << name << " is listed but not recognised";
    EXPECT_EQ(namesValue, parsed.options[0].hasValue) << name;
    listed.push_back(name);
  }
  std::vector<std::string> recognisedButOrig;
  for (int i = 0; i < kLauncherOptionCount; ++i) {
    if (std::string(kLauncherOptions[i].name) != "-lx:orig") recognisedButOrig.push_back(kLauncherOptions[i].name);
  }
  EXPECT_EQ(recognisedButOrig, listed);
  EXPECT_NE(nullptr, findLauncherOption("-lx:orig"));
}

}  // namespace
