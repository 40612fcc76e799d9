#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "lxpack/JarOnlyAttributes.h"

namespace {

// The missing options of the one piece of advice, joined by blanks; "-"
// when there is no advice (everything is given), "!" when the attribute has
// no java option.
std::string missing(const char* name, const char* value, const std::vector<std::string>& given) {
  const std::vector<JarOnlyAdvice> advice = jarOnlyAdvice({{name, value}}, given);
  if (advice.empty()) return "-";
  EXPECT_EQ(1u, advice.size());
  if (!advice[0].expressible) return "!";
  std::string joined;
  for (const std::string& option : advice[0].missingOptions) joined += (joined.empty() ? "" : " ") + option;
  return joined;
}

}  // namespace

TEST(JarOnlyAttributes, NamesTheJavaOptionsThatAreNotGiven) {
  const struct {
    const char* name;
    const char* value;
    std::vector<std::string> given;
    const char* want;
  } cases[] = {
      {"Add-Opens", "java.desktop/sun.awt", {}, "--add-opens=java.desktop/sun.awt=ALL-UNNAMED"},
      {"Add-Opens",
       " java.base/java.lang \tjava.base/java.util ",
       {},
       "--add-opens=java.base/java.lang=ALL-UNNAMED --add-opens=java.base/java.util=ALL-UNNAMED"},
      {"Add-Exports", "java.base/sun.nio.ch", {}, "--add-exports=java.base/sun.nio.ch=ALL-UNNAMED"},
      {"Enable-Native-Access", "ALL-UNNAMED", {}, "--enable-native-access=ALL-UNNAMED"},
      // Given as the warning writes it, as two arguments, or with more
      // targets: nothing to say.
      {"Add-Opens", "java.desktop/sun.awt", {"--add-opens=java.desktop/sun.awt=ALL-UNNAMED"}, "-"},
      {"Add-Opens", "java.desktop/sun.awt", {"-Xmx1g", "--add-opens", "java.desktop/sun.awt=ALL-UNNAMED"}, "-"},
      {"Add-Opens", "java.desktop/sun.awt", {"--add-opens=java.desktop/sun.awt=other.module,ALL-UNNAMED"}, "-"},
      {"Enable-Native-Access", "ALL-UNNAMED", {"--enable-native-access=com.example,ALL-UNNAMED"}, "-"},
      {"Enable-Native-Access", "ALL-UNNAMED", {"--enable-native-access", "ALL-UNNAMED"}, "-"},
      // Only what is still lacking is named.
      {"Add-Opens",
       "java.base/java.lang java.base/java.util",
       {"--add-opens=java.base/java.util=ALL-UNNAMED"},
       "--add-opens=java.base/java.lang=ALL-UNNAMED"},
      // Close, but not the same for java: another package, another module's
      // classes only, exports where opens are needed, a prefix of the name.
      {"Add-Opens",
       "java.base/java.lang",
       {"--add-opens=java.base/java.lang.reflect=ALL-UNNAMED"},
       "--add-opens=java.base/java.lang=ALL-UNNAMED"},
      {"Add-Opens",
       "java.base/java.lang",
       {"--add-opens=java.base/java.lang=com.example"},
       "--add-opens=java.base/java.lang=ALL-UNNAMED"},
      {"Add-Opens",
       "java.base/java.lang",
       {"--add-exports=java.base/java.lang=ALL-UNNAMED"},
       "--add-opens=java.base/java.lang=ALL-UNNAMED"},
      {"Add-Opens",
       "java.base/java.lang",
       {"--add-opens=java.base/java.lan=ALL-UNNAMED"},
       "--add-opens=java.base/java.lang=ALL-UNNAMED"},
      {"Add-Opens",
       "java.base/java.lang",
       {"--add-opens=java.base/java.lang=ALL-UNNAMED-NOT"},
       "--add-opens=java.base/java.lang=ALL-UNNAMED"},
      {"Add-Opens", "java.base/java.lang", {"--add-opens"}, "--add-opens=java.base/java.lang=ALL-UNNAMED"},
      // Items java -jar skips as well; nothing left, nothing to say.
      {"Add-Opens", "nomodule java.base/a/b /x y/", {}, "-"},
      {"Add-Opens", "   ", {}, "-"},
      // No option of java does these.
      {"Launcher-Agent-Class", "com.example.Agent", {}, "!"},
      {"Enable-Native-Access", "com.example", {}, "!"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(std::string(c.name) + ": " + c.value);
    EXPECT_EQ(c.want, missing(c.name, c.value, c.given));
  }
}

TEST(JarOnlyAttributes, WarningGivesTheArgumentsToCopy) {
  const struct {
    JarOnlyAdvice advice;
    const char* want;
  } cases[] = {
      {{"Add-Opens",
        "java.base/java.lang java.base/java.util",
        {"--add-opens=java.base/java.lang=ALL-UNNAMED", "--add-opens=java.base/java.util=ALL-UNNAMED"},
        true},
       "the manifest of dist/app.jar has Add-Opens: java.base/java.lang java.base/java.util, which java applies "
       "only to java -jar; the launcher runs the main class from a class path, so give java the same with "
       "--jvm-option --add-opens=java.base/java.lang=ALL-UNNAMED --jvm-option "
       "--add-opens=java.base/java.util=ALL-UNNAMED"},
      // A package name a shell would read is quoted for it.
      {{"Add-Exports", "m/p$q", {"--add-exports=m/p$q=ALL-UNNAMED"}, true},
       "the manifest of dist/app.jar has Add-Exports: m/p$q, which java applies only to java -jar; the launcher "
       "runs the main class from a class path, so give java the same with --jvm-option "
       "'--add-exports=m/p$q=ALL-UNNAMED'"},
      {{"Launcher-Agent-Class", "com.example.Agent", {}, false},
       "the manifest of dist/app.jar has Launcher-Agent-Class: com.example.Agent, which java applies only to java "
       "-jar; the launcher runs the main class from a class path, and no option of java does the same"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.advice.attribute);
    EXPECT_EQ(c.want, jarOnlyWarning("dist/app.jar", c.advice));
  }
}
