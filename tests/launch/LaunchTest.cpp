#include <dirent.h>
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/stat.h>
#include <unistd.h>

#include <climits>
#include <cstdlib>
#include <fstream>
#include <string>
#include <vector>

#include "launch/LaunchFixture.h"
#include "launch/LaunchScript.h"

namespace {

class LaunchTest : public LaunchFixture {
 protected:
  // A program that prints each of its arguments followed by a NUL byte.
  void makeArgumentPrinter() {
    std::string path = dir.write("printargs", "#!/bin/sh\nfor a in \"$@\"; do printf '%s\\0' \"$a\"; done\n");
    chmod(path.c_str(), 0755);
    jvmTags.setValue("JVM_HOME", dir.path().c_str());
    jvmTags.setValue("JVM_EXE", "printargs");
  }

  static std::string realPath(const std::string& path) {
    char real[PATH_MAX];
    return realpath(path.c_str(), real) ? real : "";
  }

  static std::vector<std::string> entriesOf(const std::string& path) {
    std::vector<std::string> names;
    if (DIR* d = opendir(path.c_str())) {
      while (dirent* e = readdir(d)) {
        std::string name = e->d_name;
        if (name != "." && name != "..") names.push_back(name);
      }
      closedir(d);
    }
    return names;
  }
};

}  // namespace

TEST_F(LaunchTest, WorkedExample) {
  SetTempRoot("/tmp");
  describeJvm("/opt/jre", "bin/java");
  TagFile tags;
  tags.setValue("COMMAND",
                "\"@JVM_HOME@/@JVM_EXE@\" %CP%(\"\"\"app.jar\"\"\") %SYSTEMPROP%(\"temp.dir\", "
                "\"\"\"%TEMP_DIR%()\"\"\") run ");
  LaunchScript script(launcher.context, &tags, 1);
  StringDeque passOn;
  passOn.add("x y");
  int exitCode = script.launch(&jvm, &passOn, 0);
  EXPECT_EQ(127, exitCode);  // there is no /opt/jre here
  EXPECT_NE(std::string::npos, logText().find("Executing launch script command: \"/opt/jre/bin/java\" -cp \"app.jar\" "
                                              "-Dtemp.dir=\"" +
                                              tmp() + "\" run  \"x y\" in working directory " + dir.path() + "\n"))
      << logText();
}

TEST_F(LaunchTest, PassOnArgumentsReachTheProgramByteForByte) {
  makeArgumentPrinter();
  setenv("LX_WIZARD_A", "expanded", 1);
  const std::vector<std::string> arguments = {
      "a b",  "$HOME",      "`id`", "$(id)",         "q\"x",         "back\\slash", "trail\\",   "*",
      "it's", "line\nfeed", "",     "#LX_WIZARD_A#", "%TEMP_DIR%()", "@JVM_HOME@",  "say \"hi\""};
  StringDeque passOn;
  std::string want;
  for (const std::string& a : arguments) {
    passOn.add(a.c_str());
    want += a + '\0';
  }
  LaunchScript script(launcher.context, "\"@JVM_HOME@/@JVM_EXE@\"", 1, 0);
  EXPECT_EQ(0, script.launch(&jvm, &passOn, 0));
  const SString& out = script.getStdoutText();
  EXPECT_EQ(want, std::string(out.c_str(), out.length()));
  EXPECT_EQ(SString(""), script.getStderrText());
}

TEST_F(LaunchTest, QuotesPassOnArgumentsForTheShell) {
  makeArgumentPrinter();
  StringDeque passOn;
  passOn.add("a b");
  passOn.add("say \"hi\"");
  LaunchScript script(launcher.context, "\"@JVM_HOME@/@JVM_EXE@\"", 1, 0);
  script.launch(&jvm, &passOn, 0);
  EXPECT_NE(std::string::npos, logText().find("printargs\" \"a b\" \"say \\\"hi\\\"\" in working directory"));
}

TEST_F(LaunchTest, JavaHomeDuringTheRunAndAfterIt) {
  describeJvm("/opt/jre", "bin/java");
  LaunchScript script(launcher.context, "echo \"$JAVA_HOME\"", 1, 0);
  const struct {
    const char* before;  // null: unset
    const char* after;
  } cases[] = {{"/usr/lib/jvm/old", "/usr/lib/jvm/old"}, {nullptr, ""}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.before ? c.before : "(unset)");
    if (c.before) {
      setenv("JAVA_HOME", c.before, 1);
    } else {
      unsetenv("JAVA_HOME");
    }
    EXPECT_EQ(0, script.launch(&jvm, nullptr, 0));
    EXPECT_EQ(SString("/opt/jre\n"), script.getStdoutText());
    ASSERT_NE(nullptr, std::getenv("JAVA_HOME"));
    EXPECT_STREQ(c.after, std::getenv("JAVA_HOME"));
  }
}

TEST_F(LaunchTest, WizardEnvironmentDependsOnTheLauncherKind) {
  jvmTags.addValue("SET_ENV_FOR_WIZARD", "JAVA2D_USEAWTFONTS=0");
  jvmTags.addValue("SET_ENV_FOR_WIZARD", "   ");
  jvmTags.addValue("SET_ENV_FOR_WIZARD", " LX_WIZARD_A =  spaced value ");
  jvmTags.addValue("SET_ENV_FOR_WIZARD", "LX_WIZARD_B");
  LaunchScript script(launcher.context, "echo \"$JAVA2D_USEAWTFONTS|$LX_WIZARD_A|${LX_WIZARD_B-unset}\"", 1, 0);
  const struct {
    int kind;  // -1: no launcher file
    const char* seen;
  } cases[] = {{0, "0|spaced value|\n"}, {1, "||unset\n"}, {2, "0|spaced value|\n"}, {-1, "||unset\n"}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.kind);
    unsetenv("JAVA2D_USEAWTFONTS");
    unsetenv("LX_WIZARD_A");
    unsetenv("LX_WIZARD_B");
    // Each kind in a file of its own: the kind of a launcher path is read once.
    launcher.paths.launcherPath = dir.file("setup" + std::to_string(c.kind + 1) + ".bin").c_str();
    if (c.kind >= 0) {
      std::string bytes(16, '\0');
      bytes[16 - 9] = static_cast<char>(c.kind);
      dir.write("setup" + std::to_string(c.kind + 1) + ".bin", bytes);
    }
    EXPECT_EQ(0, script.launch(&jvm, nullptr, 0));
    EXPECT_EQ(SString(c.seen), script.getStdoutText());
  }
}

TEST_F(LaunchTest, WorkingDirectory) {
  LaunchScript inLauncherDir(launcher.context, "pwd -P", 1, 0);
  EXPECT_EQ(0, inLauncherDir.launch(&jvm, nullptr, 0));
  EXPECT_EQ(SString((realPath(dir.path()) + "\n").c_str()), inLauncherDir.getStdoutText());

  TagFile tags;
  tags.setValue("COMMAND", "pwd -P");
  tags.setValue("AUTO_SET_WORKING_DIR", "0");
  LaunchScript here(launcher.context, &tags, 1);
  EXPECT_EQ(0, here.launch(&jvm, nullptr, 0));
  EXPECT_EQ(SString((realPath(".") + "\n").c_str()), here.getStdoutText());
  EXPECT_NE(std::string::npos,
            logText().find("Executing launch script command: pwd -P in current working directory\n"));
}

TEST_F(LaunchTest, CapturedOutputGoesToTheLog) {
  LaunchScript script(launcher.context, "echo out; echo err >&2; exit 4", 1, 0);
  EXPECT_EQ(4, script.launch(&jvm, nullptr, 0));
  EXPECT_EQ(SString("out\n"), script.getStdoutText());
  EXPECT_EQ(SString("err\n"), script.getStderrText());
  EXPECT_NE(std::string::npos,
            logText().find("Output from the launch script execution\nStdOut:\nout\n\nErrOut:\nerr\n\n"));

  // Each run starts with empty texts.
  EXPECT_EQ(4, script.launch(&jvm, nullptr, 0));
  EXPECT_EQ(SString("out\n"), script.getStdoutText());
}

TEST_F(LaunchTest, ConsoleModeCapturesNothing) {
  TagFile console;
  console.setValue("COMMAND", "echo >/dev/null visible");
  console.setValue("DISPLAY_CONSOLE", "1");
  TagFile plain;
  plain.setValue("COMMAND", "echo >/dev/null visible");
  const struct {
    TagFile* tags;
    int forceConsole;
  } cases[] = {{&console, 0}, {&plain, 1}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.forceConsole);
    LaunchScript script(launcher.context, c.tags, 1);
    EXPECT_EQ(0, script.launch(&jvm, nullptr, c.forceConsole));
  }
  EXPECT_EQ(std::string::npos, logText().find("Output from the launch script execution"));
}

TEST_F(LaunchTest, ExpansionErrorRunsNothing) {
  setenv("JAVA_HOME", "/before", 1);
  describeJvm("/opt/jre", "bin/java");
  std::string marker = dir.file("ran");
  LaunchScript script(launcher.context, ("touch '" + marker + "' %NOSUCH%()").c_str(), 1, 0);
  EXPECT_EQ("Launch script error: Invalid function name (NOSUCH).", ThrownBy([&] { script.launch(&jvm, nullptr, 0); }));
  EXPECT_FALSE(std::ifstream(marker).good());
  EXPECT_STREQ("/before", std::getenv("JAVA_HOME"));
}

TEST_F(LaunchTest, TimeLimitEndsTheRun) {
  LaunchScript script(launcher.context, "echo begun; sleep 30", 1, 0);
  script.setTimeLimit(1);
  EXPECT_EQ(128 + SIGKILL, script.launch(&jvm, nullptr, 0));
  EXPECT_TRUE(script.limitExpired());
  EXPECT_EQ(SString("begun\n"), script.getStdoutText());
  script.setTimeLimit(0);
  LaunchScript quick(launcher.context, "exit 2", 1, 0);
  EXPECT_EQ(2, quick.launch(&jvm, nullptr, 0));
  EXPECT_FALSE(quick.limitExpired());
}

TEST_F(LaunchTest, NothingIsLeftInTheTemporaryDirectory) {
  dir.write("app.jar", "PK application");
  TagFile tags;
  tags.setValue("COMMAND", "cat %APPLICATION_ARCHIVE%(\"app.jar\") %CP%()");
  LaunchScript script(launcher.context, &tags, 1);
  EXPECT_EQ(0, script.launch(&jvm, nullptr, 0));
  EXPECT_EQ(SString("PK application"), script.getStdoutText());
  EXPECT_FALSE(entriesOf(tmp()).empty());
  RemoveTempFiles();
  EXPECT_EQ(std::vector<std::string>{}, entriesOf(tmp()));
}
