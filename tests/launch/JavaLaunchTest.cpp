// Starts a real Java program the way the wizard is started: a JDK found
// under /usr/lib/jvm, a class compiled here, the class path, a system
// property and the pass-on arguments from the launch script.
#include <dirent.h>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <string>

#include "launch/LaunchFixture.h"
#include "launch/LaunchScript.h"
#include "launch/RunCommand.h"

namespace {

// A JDK home (with java and javac) under /usr/lib/jvm, or empty.
std::string findJdk() {
  DIR* jvms = opendir("/usr/lib/jvm");
  if (!jvms) return "";
  std::string found;
  while (dirent* e = readdir(jvms)) {
    std::string home = std::string("/usr/lib/jvm/") + e->d_name;
    struct stat st;
    if (e->d_name[0] == '.' || lstat(home.c_str(), &st) != 0 || !S_ISDIR(st.st_mode)) continue;
    if (access((home + "/bin/java").c_str(), X_OK) == 0 && access((home + "/bin/javac").c_str(), X_OK) == 0) {
      found = home;
      break;
    }
  }
  closedir(jvms);
  return found;
}

const char* const kProgram =
    "public class Hello {\n"
    "  public static void main(String[] args) {\n"
    "    System.out.println(\"hello \" + String.join(\"|\", args) + \" \" + System.getProperty(\"lx.desc\")\n"
    "        + \" \" + System.getenv(\"JAVA_HOME\"));\n"
    "    System.err.println(\"to stderr\");\n"
    "    System.exit(5);\n"
    "  }\n"
    "}\n";

}  // namespace

class JavaLaunchTest : public LaunchFixture {};

TEST_F(JavaLaunchTest, StartsAJavaProgramAndReturnsItsExitStatus) {
  std::string jdk = findJdk();
  ASSERT_FALSE(jdk.empty()) << "no JDK (bin/java and bin/javac) under /usr/lib/jvm: install one with "
                               "scripts/install-deps";
  dir.write("Hello.java", kProgram);
  SString out, err;
  std::string compile = "'" + jdk + "/bin/javac' -d classes Hello.java";
  ASSERT_EQ(0, runCommand(compile.c_str(), CommandOptions().inDirectory(dir.path().c_str()).captureInto(&out, &err)))
      << err;

  describeJvm(jdk.c_str(), "bin/java");
  jvmTags.setValue("DESC", "Test JDK");
  // The class path is relative: the program runs in the launcher's directory.
  LaunchScript script(launcher.context,
                      "\"@JVM_HOME@/@JVM_EXE@\" %CP%(\"classes\") %SYSTEMPROP%(\"lx.desc\", \"\"\"@DESC@\"\"\") Hello",
                      1, 0);
  StringDeque passOn;
  passOn.add("a b");
  passOn.add("$HOME");
  EXPECT_EQ(5, script.launch(&jvm, &passOn, 0));
  EXPECT_EQ(SString(("hello a b|$HOME Test JDK " + jdk + "\n").c_str()), script.getStdoutText());
  EXPECT_TRUE(script.getStderrText().find("to stderr\n") != SString::npos) << script.getStderrText();
}
