#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "lxpack/JarLauncherOptions.h"
#include "lxpack/Usage.h"

namespace {

// What parseJarLauncherOptions makes of the words after "create": the
// UsageError's text, or "" with the options in parsed.
std::string parsedOrMistake(std::vector<std::string> words, JarLauncherOptions& parsed) {
  words.insert(words.begin(), {"lxpack", "create"});
  std::vector<char*> argv;
  for (std::string& word : words) argv.push_back(&word[0]);
  Arguments args(static_cast<int>(argv.size()), argv.data(), 2);
  try {
    parsed = parseJarLauncherOptions(args, true);
  } catch (const UsageError& e) {
    return e.what();
  }
  return "";
}

}  // namespace

TEST(JarLauncherOptions, SpeaksOfARangeInTheOptionsOwnWords) {
  const struct {
    const char* range;
    const char* mistake;
  } cases[] = {
      {"17+", ""},
      {"17", ""},
      {"11-21", ""},
      {"1.8+", ""},
      {"17.0.5+", ""},
      {">=17", "--java '>=17' is no range of Java versions: write 17+, 17 or 11-21"},
      {"17 +", "--java '17 +' is no range of Java versions: write 17+, 17 or 11-21"},
      {"java17", "--java 'java17' is no range of Java versions: write 17+, 17 or 11-21"},
      {"+17", "--java '+17' is no range of Java versions: write 17+, 17 or 11-21"},
      {"17-", "--java '17-' is no range of Java versions: write 17+, 17 or 11-21"},
      {"0+", "--java '0+' is no range of Java versions: write 17+, 17 or 11-21"},
      {"11-17-21", "--java '11-17-21' is no range of Java versions: write 17+, 17 or 11-21"},
      {"21-17", "--java 21-17 ends before it starts: write 17-21"},
      {"1.8-1.7", "--java 1.8-1.7 ends before it starts: write 1.7-1.8"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.range);
    EXPECT_EQ(c.mistake, javaRangeMistake(c.range));
  }
}

TEST(JarLauncherOptions, RefusesWhatTheLauncherCouldNotDoNamingWhatIsMissing) {
  const std::string missingJar = "missing --main-jar JAR: the program's jar";
  const struct {
    std::vector<std::string> words;
    std::string mistake;
  } cases[] = {
      {{"--java", "17+", "-o", "app.bin"}, missingJar},
      {{"--java", "17+", "-o", "app.bin", "app.jar"}, missingJar + " (to pack app.jar, give --main-jar app.jar)"},
      {{"app.jar", "--java", "17+", "-o", "app.bin"}, missingJar + " (to pack app.jar, give --main-jar app.jar)"},
      {{"--java", "17+", "-o", "app.bin", "application=app.jar"}, missingJar},
      {{"--main-jar", "app.jar", "--java", "17+", "-o", "app.bin", "more.jar"},
       "unexpected 'more.jar': with --main-jar lxpack makes every file of the launcher itself (TYPE=FILE belongs "
       "to the form without --main-jar)"},
      {{"--main-jar", "app.jar", "--java", ">=17", "-o", "app.bin"},
       "--java '>=17' is no range of Java versions: write 17+, 17 or 11-21"},
      {{"--main-jar", "app.jar", "--java", "17+", "--jvm-option", "-Dant.home=$APP_DIR", "-o", "app.bin"},
       "--jvm-option '-Dant.home=$APP_DIR' names $APP_DIR, the program's folder, but the launcher carries none: "
       "give it with --app-dir DIR (or write $$ for a dollar)"},
      {{"--main-jar", "app.jar", "--java", "17+", "--jvm-option", "-Dx=${APP_DIR}", "-o", "app.bin"},
       "--jvm-option '-Dx=${APP_DIR}' names $APP_DIR, the program's folder, but the launcher carries none: "
       "give it with --app-dir DIR (or write $$ for a dollar)"},
      {{"--main-jar", "app.jar", "--java", "17+", "--jvm-option", "-Dx=$APP_DIR", "--app-dir", "ant", "-o", "app.bin"},
       ""},
      {{"--main-jar", "app.jar", "--java", "17+", "--jvm-option", "-Dx=$$APP_DIR", "-o", "app.bin"}, ""},
      {{"--main-jar", "app.jar", "--java", "17+", "--jvm-option", "-Dx=$LAUNCHER_DIR", "-o", "app.bin"}, ""},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.mistake);
    JarLauncherOptions parsed;
    EXPECT_EQ(c.mistake, parsedOrMistake(c.words, parsed));
  }
}

TEST(JarLauncherOptions, TakesATitleForACommandLineProgram) {
  JarLauncherOptions parsed;
  ASSERT_EQ("", parsedOrMistake(
                    {"--main-jar", "app.jar", "--java", "17+", "--cli", "--title", "Lexer Generator", "-o", "app.bin"},
                    parsed));
  EXPECT_TRUE(parsed.cli);
  EXPECT_TRUE(parsed.titleGiven);
  EXPECT_EQ("Lexer Generator", parsed.title);
}
