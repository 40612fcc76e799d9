// Path hints with "~/", "*" and "?", and the known install places.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <string>

#include "jvm/HomePatterns.h"
#include "jvm/SearchFixture.h"

namespace {

std::string Joined(const StringDeque& homes) {
  std::string text;
  for (int i = 0; i < homes.count(); ++i) text += (i ? " " : "") + std::string(homes.get(i).c_str());
  return text;
}

void MakeDirs(const std::string& path) {
  for (size_t slash = path.find('/', 1);; slash = path.find('/', slash + 1)) {
    mkdir(path.substr(0, slash).c_str(), 0755);
    if (slash == std::string::npos) return;
  }
}

TEST(HomePatterns, ComponentsMatchStarsAndQuestionMarks) {
  const struct {
    const char* pattern;
    const char* name;
    bool matches;
  } cases[] = {
      {"*", "jdk-17", true},
      {"jdk*", "jdk-17", true},
      {"jdk*", "jre-17", false},
      {"*17*", "jdk-17.0.9", true},
      {"jdk-1?", "jdk-17", true},
      {"jdk-1?", "jdk-170", false},
      {"*-*-*", "a-b-c", true},
      {"*-*-*", "a-b", false},
      {"a*b*c", "axxbyyc", true},
      {"a*b*c", "axxbyyd", false},
      {"", "", true},
      {"*", ".hidden", false},
      {".*", ".hidden", true},
      {"?", "", false},
      {"**", "x", true},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(std::string(c.pattern) + " against " + c.name);
    EXPECT_EQ(c.matches, matchesComponent(c.pattern, c.name));
  }
}

TEST(HomePatterns, ExpandsToExistingDirectoriesInNameOrder) {
  TempDir dir;
  const std::string root = dir.path();
  for (const char* sub :
       {"opt/b/jdk-21", "opt/a/jdk-17", "opt/a/jre-17", "opt/c/jdk-25", "home/.jdks/x", "home/.jdks/y"}) {
    MakeDirs(root + "/" + sub);
  }
  dir.write("opt/d", "a file, not a directory");
  ASSERT_EQ(0, symlink((root + "/opt/a").c_str(), (root + "/opt/e-link").c_str()));
  ScopedEnv home("HOME", (root + "/home").c_str());
  const struct {
    std::string pattern;
    std::string homes;
  } cases[] = {
      // Through the link too: the search, not the expansion, takes each home once.
      {root + "/opt/*/jdk*",
       root + "/opt/a/jdk-17 " + root + "/opt/b/jdk-21 " + root + "/opt/c/jdk-25 " + root + "/opt/a/jdk-17"},
      {root + "/opt/?/jdk-2?", root + "/opt/b/jdk-21 " + root + "/opt/c/jdk-25"},
      {root + "/opt/?", root + "/opt/a " + root + "/opt/b " + root + "/opt/c"},
      {root + "/opt/?/", root + "/opt/a " + root + "/opt/b " + root + "/opt/c"},
      {root + "/nothing/*", ""},
      // A link found by a pattern is the directory it leads to.
      {root + "/opt/e*", root + "/opt/a"},
      {root + "/opt/e*/jdk-1?", root + "/opt/a/jdk-17"},
      {"~/.jdks/*", root + "/home/.jdks/x " + root + "/home/.jdks/y"},
      {"~", root + "/home"},
      // Hints without a pattern stay as written, whether they exist or not.
      {root + "/opt/none", root + "/opt/none"},
      {"~user/jdk", "~user/jdk"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.pattern);
    StringDeque homes;
    expandHomePattern(c.pattern.c_str(), homes);
    EXPECT_EQ(c.homes, Joined(homes));
  }
  ScopedEnv noHome("HOME", nullptr);
  StringDeque homes;
  expandHomePattern("~/.jdks/*", homes);
  EXPECT_EQ("", Joined(homes));
}

TEST(HomePatterns, KnownLocationsFindHomesAndTheirContentsHomeOrJre) {
  TempDir dir;
  const std::string home = dir.path();
  ScopedEnv user("HOME", home.c_str());
  WriteFakeJava(home + "/.jdks/plain", "exit 0");
  WriteFakeJava(home + "/.jdks/bundle/Contents/Home", "exit 0");
  WriteFakeJava(home + "/.sdkman/candidates/java/8/jre", "exit 0");
  MakeDirs(home + "/.asdf/installs/java/no-java-here");
  StringDeque homes;
  knownLocationHomes("bin/java", homes);
  std::string found;
  for (int i = 0; i < homes.count(); ++i) {
    std::string h = homes.get(i).c_str();
    if (h.compare(0, home.size(), home) == 0) found += (found.empty() ? "" : " ") + h.substr(home.size());
  }
  EXPECT_EQ("/.sdkman/candidates/java/8/jre /.jdks/bundle/Contents/Home /.jdks/plain", found);
}

}  // namespace
