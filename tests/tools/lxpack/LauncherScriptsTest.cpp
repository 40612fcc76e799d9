#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <utility>

#include "launch/CarriedValues.h"
#include "lxpack/LauncherScripts.h"
#include "support/TempDir.h"
#include "tagfile/TagFile.h"

namespace {

// What /bin/sh makes of the word, as the bytes of its one argument.
std::string throughShell(const std::string& word) {
  const std::string command = "printf '%s' " + word;
  FILE* pipe = ::popen(command.c_str(), "r");
  if (!pipe) return "(popen failed)";
  std::string out;
  char buffer[256];
  size_t n;
  while ((n = std::fread(buffer, 1, sizeof buffer, pipe)) > 0) out.append(buffer, n);
  ::pclose(pipe);
  return out;
}

}  // namespace

TEST(LauncherScripts, CommandWordsReachTheProgramUnchangedAndHoldNoMarker) {
  const char* const values[] = {"-Xmx1g",        "-Dname=a b", "it's",        "say \"hi\"", "$HOME `id` $(id)",
                                "back\\slash\\", "50%",        "a@b@c",       "#x# ##",     "%CP%(\"x\")",
                                "*?[a]",         "tab\there",  "Outer$Inner", "~user",      "'"};
  for (const char* value : values) {
    SCOPED_TRACE(value);
    const std::string word = commandWord(value);
    EXPECT_EQ(std::string::npos, word.find_first_of("%@#")) << word;
    EXPECT_EQ(value, throughShell(word)) << word;
  }
  EXPECT_EQ("com.example.Main", commandWord("com.example.Main"));
}

TEST(LauncherScripts, TagValuesReadBackAsTheyWereGiven) {
  TempDir dir;
  const char* const values[] = {"My App", " lead", "trail ", "\"quoted\" title", "in \"the\" middle", "\t", "a: b"};
  for (const char* value : values) {
    SCOPED_TRACE(value);
    const std::string path = dir.write("value.tag", "DESC: " + tagValue(value) + "\n");
    EXPECT_EQ(value, std::string(TagFile(path.c_str()).getValue("DESC", 0).c_str()));
  }
}

// The word carries the folders as the launch script's functions; the
// launcher puts in their paths through CarriedValues, as it does for every
// path of its own, and the shell must then hand java one argument.
TEST(LauncherScripts, JvmOptionsNamingFoldersReachJavaAsOneArgumentWithTheirPaths) {
  const std::string appDir = "/tmp/it's a \"dir\"/$HOME `id`\\/lx1";
  const std::string launcherDir = "/home/u/my apps";
  const struct {
    const char* option;
    std::string want;
  } cases[] = {
      {"-Dant.home=$APP_DIR", "-Dant.home=" + appDir},
      {"-Dant.library.dir=$APP_DIR/lib", "-Dant.library.dir=" + appDir + "/lib"},
      {"-Dconf=${LAUNCHER_DIR}/conf dir/%x% @y@ #z#", "-Dconf=" + launcherDir + "/conf dir/%x% @y@ #z#"},
      {"-Dpath=$APP_DIR:$LAUNCHER_DIR", "-Dpath=" + appDir + ":" + launcherDir},
      {"-Dcost=$$5 and 'quoted'", "-Dcost=$5 and 'quoted'"},
      {"-Dimpl=Outer$Inner", "-Dimpl=Outer$Inner"},
      {"$APP_DIR", appDir},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.option);
    const std::string word = jvmOptionWord(c.option);
    std::string text = word;
    CarriedValues carried;
    for (const auto& folder : {std::make_pair(std::string("%APP_DIR%()"), appDir),
                               std::make_pair(std::string("%LAUNCHER_DIR%()"), launcherDir)}) {
      for (std::string::size_type at; (at = text.find(folder.first)) != std::string::npos;) {
        text.replace(at, folder.first.size(), carried.token(folder.second.c_str()).c_str());
      }
    }
    EXPECT_EQ(std::string::npos, text.find_first_of("%@#")) << word;
    EXPECT_EQ(c.want, throughShell(carried.forShell(text.c_str()).c_str())) << word;
  }
}

// Both kinds of program run where the user started the launcher, with the
// launcher's own lines on standard error; only a wizard shows a title
// unless one is given.
TEST(LauncherScripts, EveryJarLauncherKeepsTheUsersFolderAndStandardOutput) {
  TempDir dir;
  const struct {
    bool cli;
    bool titleGiven;
    const char* description;
  } cases[] = {{false, false, "tool"}, {false, true, "Given"}, {true, false, ""}, {true, true, "Given"}};
  for (const auto& c : cases) {
    SCOPED_TRACE(std::string(c.cli ? "--cli" : "wizard") + (c.titleGiven ? " with --title" : ""));
    JarLauncherOptions options;
    options.javaRange = "17+";
    options.cli = c.cli;
    options.titleGiven = c.titleGiven;
    options.title = "Given";
    MainJar jar;
    jar.mainClass = "Main";
    jar.defaultTitle = "tool";
    TagFile script(dir.write("launch.txt", makeLauncherScripts(options, jar).launchScript).c_str());
    EXPECT_FALSE(script.getBool("AUTO_SET_WORKING_DIR", true));
    EXPECT_TRUE(script.getBool("MESSAGES_TO_STDERR", false));
    EXPECT_TRUE(script.getBool("DISPLAY_CONSOLE", false));
    EXPECT_EQ(c.description, std::string(script.getValue("DESC", 0).c_str()));
  }
}
