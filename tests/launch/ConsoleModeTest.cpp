// CONSOLE_MODE_ARGS: read as words, and put before the user's arguments
// exactly when the wizard could not open a window.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <string>
#include <vector>

#include "launch/ConsoleMode.h"
#include "launch/LaunchFixture.h"
#include "launch/LaunchScript.h"
#include "messages/ConsoleFixture.h"

namespace {

std::vector<std::string> wordsOf(std::initializer_list<const char*> values) {
  StringDeque list;
  for (const char* value : values) list.add(value);
  StringDeque words = consoleModeWords(list);
  std::vector<std::string> result;
  for (int i = 0; i < words.count(); ++i) result.push_back(words.get(i).c_str());
  return result;
}

class ConsoleModeTest : public LaunchFixture {
 protected:
  // JVM_HOME is the test directory; its "java" prints each argument and a
  // NUL byte.
  ConsoleModeTest() {
    std::string path = dir.write("printargs", "#!/bin/sh\nfor a in \"$@\"; do printf '%s\\0' \"$a\"; done\n");
    chmod(path.c_str(), 0755);
    jvmTags.setValue("JVM_HOME", dir.path().c_str());
    jvmTags.setValue("JVM_EXE", "printargs");
  }

  void giveTheJvmItsWindowingLibrary() {
    mkdir(dir.file("lib").c_str(), 0755);
    dir.write("lib/libawt_xawt.so", "");
  }

  std::string launchWith(const char* consoleModeArgs) {
    TagFile tags;
    tags.setValue("COMMAND", "\"@JVM_HOME@/@JVM_EXE@\" run");
    tags.setValue("CONSOLE_MODE_ARGS", consoleModeArgs);
    LaunchScript script(launcher.context, &tags, 1);
    StringDeque passOn;
    passOn.add("user arg");
    EXPECT_EQ(0, script.launch(&jvm, &passOn, 0));
    const SString& out = script.getStdoutText();
    return std::string(out.c_str(), out.length());
  }
};

}  // namespace

TEST(ConsoleModeWords, SplitsEveryValueAtBlanksAndKeepsQuotedWordsWhole) {
  typedef std::vector<std::string> Words;
  EXPECT_EQ(Words({"-console"}), wordsOf({"-console"}));
  EXPECT_EQ(Words({"-console", "-q"}), wordsOf({"  -console \t -q  "}));
  EXPECT_EQ(Words({"-Dmode=text only", "-console"}), wordsOf({"\"-Dmode=text only\" -console"}));
  EXPECT_EQ(Words({"say \"hi\"", ""}), wordsOf({"\"say \"\"hi\"\"\" \"\""}));
  EXPECT_EQ(Words({"-console", "-q", "$(id)"}), wordsOf({"-console", "-q $(id)"}));
  EXPECT_EQ(Words({}), wordsOf({"", "   "}));
  EXPECT_EQ(Words({}), wordsOf({}));
}

TEST(ConsoleModeWords, AQuoteNeverClosedIsALaunchScriptError) {
  EXPECT_EQ("Launch script error: CONSOLE_MODE_ARGS: Expected double quote to end argument near 10",
            ThrownBy([] { wordsOf({"-console \"open"}); }));
}

TEST_F(ConsoleModeTest, WordsComeBeforeTheUsersArgumentsWhenNoWindowCanOpen) {
  const struct {
    const char* display;
    const char* wayland;
    bool windowingLibrary;
    bool want;
    const char* logged;
  } cases[] = {
      {nullptr, nullptr, true, true, "No display (neither DISPLAY nor WAYLAND_DISPLAY is set)"},
      {"", "", true, true, "No display (neither DISPLAY nor WAYLAND_DISPLAY is set)"},
      {":0", nullptr, false, true, "cannot open windows (it has no libawt_xawt.so)"},
      {nullptr, "wayland-0", false, true, "cannot open windows (it has no libawt_xawt.so)"},
      {":0", nullptr, true, false, "A display is there and the JVM can open windows"},
      {nullptr, "wayland-0", true, false, "A display is there and the JVM can open windows"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(std::string(c.display ? c.display : "-") + " " + (c.wayland ? c.wayland : "-") + " " +
                 (c.windowingLibrary ? "headful" : "headless"));
    ScopedVariable display("DISPLAY", c.display);
    ScopedVariable wayland("WAYLAND_DISPLAY", c.wayland);
    if (c.windowingLibrary) giveTheJvmItsWindowingLibrary();
    std::string want =
        c.want ? std::string("run\0-console\0text mode\0user arg\0", 32) : std::string("run\0user arg\0", 13);
    EXPECT_EQ(want, launchWith("-console \"text mode\""));
    EXPECT_NE(std::string::npos, logText().find(c.logged)) << logText();
    remove(dir.file("lib/libawt_xawt.so").c_str());
    remove(dir.file("launch.log").c_str());
  }
}

TEST_F(ConsoleModeTest, NoWordsNoChangeAndNoLogLine) {
  ScopedVariable display("DISPLAY", nullptr);
  ScopedVariable wayland("WAYLAND_DISPLAY", nullptr);
  EXPECT_EQ(std::string("run\0user arg\0", 13), launchWith(""));
  EXPECT_EQ(std::string::npos, logText().find("CONSOLE_MODE_ARGS")) << logText();
}
