#include <gtest/gtest.h>
#include <sys/stat.h>

#include <cstdlib>
#include <fstream>
#include <string>
#include <vector>

#include "launch/LaunchFixture.h"
#include "launch/LaunchScript.h"

namespace {

class ClassPathTest : public LaunchFixture {
 protected:
  ClassPathTest() { describeJvm("/opt/jre", "bin/java"); }

  // Expands command with the application's launch script, which adds the
  // launcher's own class path entries.
  std::string expand(const char* command, const char* archive = "") {
    TagFile tags;
    tags.setValue("COMMAND", command);
    tags.setValue("ARCHIVE", archive);
    LaunchScript script(launcher.context, &tags, 1);
    return script.expandCommand(&jvm).c_str();
  }

  // The entries of a "-cp a:b" option.
  static std::vector<std::string> entries(const std::string& option) {
    std::vector<std::string> list;
    std::string rest = option.substr(4);
    for (std::string::size_type colon; (colon = rest.find(':')) != std::string::npos; rest = rest.substr(colon + 1)) {
      list.push_back(rest.substr(0, colon));
    }
    list.push_back(rest);
    return list;
  }
};

}  // namespace

TEST_F(ClassPathTest, NoSourceNoOption) { EXPECT_EQ("java  Main", expand("java %CP%() Main")); }

TEST_F(ClassPathTest, NineSourcesInOrder) {
  launcher.options.cpPrepend = "  pre1.jar:pre2.jar\t";
  launcher.options.cpAppend = "post.jar";
  dir.write("setup.cp1", "one.jar\n");
  dir.write("setup.cp", "\ncp.jar\n\n");
  dir.write("setup.cp2", "two.jar");
  jvmTags.setValue("JVM_CLASSPATH", "jvm.jar");
  EXPECT_EQ("java -cp pre1.jar:pre2.jar:one.jar:jvm.jar:cp.jar:\"arg1.jar\":arg2.jar:archive.jar:two.jar:post.jar Main",
            expand("java %CP%(\"\"\"arg1.jar\"\"\", \"arg2.jar\") Main", "archive.jar"));
}

TEST_F(ClassPathTest, ListFilesNamedWithAnAt) {
  std::string list = dir.write("list.txt", "a.jar\n\nb.jar\n");
  launcher.options.cpPrepend = ("@" + list).c_str();
  launcher.options.cpAppend = ("@" + dir.file("missing.txt")).c_str();
  EXPECT_EQ("-cp a.jar:b.jar:x.jar", expand("%CP%(\"x.jar\")"));
  EXPECT_NE(std::string::npos, logText().find("WARNING: Could not find the file " + dir.file("missing.txt") +
                                              " while building the classpath.\n"));
}

TEST_F(ClassPathTest, ArchiveValueCallsFunctions) {
  launcher.paths.origLauncherPath = "/media/cd/setup.bin";
  EXPECT_EQ("-cp \"/media/cd\"/app.jar", expand("%CP%()", "%LAUNCHER_DIR%()/app.jar"));
}

TEST_F(ClassPathTest, SideFilesNextToALauncherInAnUnusualDirectory) {
  std::string unusual = dir.file("Mein Ördner Ωμέγα");
  ASSERT_EQ(0, mkdir(unusual.c_str(), 0700));
  launcher.paths.origLauncherPath = (unusual + "/setup.bin").c_str();
  std::ofstream(unusual + "/setup.cp1") << "first.jar\n";
  std::ofstream(unusual + "/setup.cp") << "middle.jar\n";
  std::ofstream(unusual + "/setup.cp2") << "last.jar\n";
  std::ofstream(unusual + "/setup.sp") << "where=" << unusual << "\n";
  std::ofstream(unusual + "/setup.ja") << "-Xss1m\n";
  EXPECT_EQ("-cp first.jar:middle.jar:arg.jar:last.jar -Dwhere=" + unusual + " -Xss1m",
            expand("%CP%(\"arg.jar\") %RUNTIME_SYSTEMPROP%() %RUNTIME_JAVAARGS%()"));
}

TEST_F(ClassPathTest, EnvironmentMode) {
  jvmTags.setValue("USE_CP_ENV_VAR", "1");
  jvmTags.setValue("CP_ENV_VAR", "LX_TEST_CP");
  jvmTags.setValue("JVM_CLASSPATH", "jvm.jar");
  EXPECT_EQ("java  Main", expand("java %CP%(\"\"\"x.jar\"\"\", \"\"\"half.jar\") Main", "\"archive.jar\""));
  EXPECT_STREQ("jvm.jar:x.jar:half.jar:archive.jar", std::getenv("LX_TEST_CP"));
  EXPECT_NE(std::string::npos, logText().find("Set env var LX_TEST_CP to jvm.jar:x.jar:half.jar:archive.jar\n\n"));
}

TEST_F(ClassPathTest, EnvironmentModeWithoutAVariableName) {
  jvmTags.setValue("USE_CP_ENV_VAR", "1");
  unsetenv("LX_TEST_CP");
  EXPECT_EQ("java  Main", expand("java %CP%(\"x.jar\") Main"));
  EXPECT_NE(std::string::npos, logText().find("ERROR: If USE_CP_ENV_VAR is set to 1 in the jvm file, then the jvm "
                                              "file should also define CP_ENV_VAR.\n"));
}

TEST_F(ClassPathTest, OnlyTheValueOneMeansEnvironmentMode) {
  jvmTags.setValue("USE_CP_ENV_VAR", "yes");
  jvmTags.setValue("CP_ENV_VAR", "LX_TEST_CP");
  EXPECT_EQ("-cp \"x.jar\"", expand("%CP%(\"\"\"x.jar\"\"\")"));
}

TEST_F(ClassPathTest, EmbeddedClassPathArchivesGoToANewDirectoryEachTime) {
  makeLauncher(
      {{FT_CLASSPATH, "lib1.jar", "one"}, {FT_APPLICATION, "app.jar", "app"}, {FT_CLASSPATH, "lib2.jar", "two"}});
  std::vector<std::string> first = entries(expand("%CP%(\"arg.jar\")", "archive.jar"));
  ASSERT_EQ(4u, first.size());
  EXPECT_EQ("arg.jar", first[0]);
  EXPECT_EQ("archive.jar", first[1]);
  // The extracted paths are the launcher's own: each is one quoted word.
  for (std::string& entry : first) {
    if (entry[0] == '"') entry = entry.substr(1, entry.size() - 2);
  }
  std::string extracted = first[2].substr(0, first[2].rfind('/'));
  EXPECT_EQ(tmp() + "/lxj", extracted.substr(0, tmp().size() + 4));
  EXPECT_EQ(extracted + "/lib1.jar", first[2]);
  EXPECT_EQ(extracted + "/lib2.jar", first[3]);
  EXPECT_EQ("one", ReadFile(first[2]));
  EXPECT_EQ("two", ReadFile(first[3]));

  std::vector<std::string> second = entries(expand("%CP%()"));
  ASSERT_EQ(2u, second.size());
  EXPECT_NE("\"" + extracted, second[0].substr(0, second[0].rfind('/')));

  // A variable gets them as they are: no shell reads it.
  jvmTags.setValue("USE_CP_ENV_VAR", "1");
  jvmTags.setValue("CP_ENV_VAR", "LX_TEST_CP");
  EXPECT_EQ("", expand("%CP%()"));
  std::string variable = std::getenv("LX_TEST_CP");
  EXPECT_EQ(tmp() + "/lxj", variable.substr(0, tmp().size() + 4)) << variable;
  EXPECT_EQ("/lib2.jar", variable.substr(variable.size() - 9)) << variable;
  jvmTags.setValue("USE_CP_ENV_VAR", "0");

  // A verification script leaves them out.
  LaunchScript verification(launcher.context, "%CP%(\"Verify.jar\")", 1, 0);
  EXPECT_EQ(SString("-cp Verify.jar"), verification.expandCommand(&jvm));
}
