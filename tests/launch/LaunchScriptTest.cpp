#include <gtest/gtest.h>
#include <sys/stat.h>

#include <string>

#include "launch/LaunchFixture.h"
#include "launch/LaunchScript.h"

namespace {

class LaunchScriptTest : public LaunchFixture {
 protected:
  LaunchScriptTest() { SetTempRoot("/tmp"); }

  std::string expand(const char* command) {
    LaunchScript script(launcher.context, command, 1, 0);
    return script.expandCommand(&jvm).c_str();
  }

  std::string expansionError(const char* command) {
    return ThrownBy([&] { expand(command); });
  }
};

}  // namespace

TEST_F(LaunchScriptTest, ReadsItsKeysFromTheTagFile) {
  TagFile tags;
  tags.setValue("COMMAND", "run #LX_WIZARD_A#");
  tags.setValue("DESC", "Quillon Wizard");
  LaunchScript defaults(launcher.context, &tags, 1);
  EXPECT_EQ(SString("Quillon Wizard"), defaults.getDescription());
  setenv("LX_WIZARD_A", "now", 1);
  EXPECT_EQ(SString("run now"), defaults.expandCommand(&jvm));

  LaunchScript fromString(launcher.context, "x", 1, 0);
  EXPECT_EQ(SString(""), fromString.getDescription());
  EXPECT_EQ(SString(""), fromString.getStdoutText());
  EXPECT_EQ(SString(""), fromString.getStderrText());
}

TEST_F(LaunchScriptTest, FunctionsMacrosAndVariables) {
  describeJvm("/opt/jre", "bin/java");
  jvmTags.setValue("INIT_JAVA_HEAP", "-Xms");
  jvmTags.setValue("EXTRA", "-Dx=%TEMP_DIR%()");
  setenv("LX_WIZARD_A", "envvalue", 1);
  unsetenv("LX_WIZARD_B");
  launcher.paths.origLauncherPath = "/media/cd/setup.bin";
  // The launcher's own paths reach the shell quoted for where they stand:
  // a word of their own outside quotes, escaped inside them.
  const std::string temp = tmp();
  const struct {
    const char* command;
    std::string want;
  } cases[] = {
      {"\"@JVM_HOME@/@JVM_EXE@\" run ", "\"/opt/jre/bin/java\" run "},
      {"%TEMP_DIR%()", "\"" + temp + "\""},
      {"%TEMP_DIR%( )", "\"" + temp + "\""},
      {"%SYSTEMPROP%(\"temp.dir\", \"\"\"%TEMP_DIR%()\"\"\")", "-Dtemp.dir=\"" + temp + "\""},
      {"%SYSTEMPROP%(\"a\",\"b\",)", "-Da=b"},
      {"%SYSTEMPROP%(\"home\", \"@JVM_HOME@\")", "-Dhome=/opt/jre"},  // the value is JVM-expanded
      {"%SYSTEMPROP%(\"@JVM_HOME@\", \"v\")", "-D/opt/jre=v"},        // the name by the @ pass
      {"%REPLACE%(\"a\", \"aa\", \"banana\")", "baanaanaa"},          // inserted text is not searched
      {"%REPLACE%(\"@JVM_EXE@\", \"jre/@JVM_EXE@\", \"x/bin/java\")", "x/jre/bin/java"},
      {"%REPLACE%(\"\", \"y\", \"abc\")", "abc"},
      {"%IF_EXISTS%(\"INIT_JAVA_HEAP\", \"@INIT_JAVA_HEAP@20m\")", "-Xms20m"},
      {"[%IF_EXISTS%(\"MAX_JAVA_HEAP\", \"@MAX_JAVA_HEAP@60m\")]", "[]"},
      {"%LAUNCHER_DIR%()", "\"/media/cd\""},
      {"'%LAUNCHER_DIR%()'", "'/media/cd'"},
      {"100%% done", "100% done"},
      {"#LX_WIZARD_A#/#LX_WIZARD_B#.", "envvalue/."},
      {"a#b c#d", "ad"},                // two unrelated # lose the text between them
      {"@EXTRA@", "-Dx=%TEMP_DIR%()"},  // functions are expanded before macros
      {"%REPLACE%(\"T\", \"%TEMP_DIR%()\", \"[T]\")", "[\"" + temp + "\"]"},  // a value calling a function
      {"%CP%(\"%TEMP_DIR%()/a.jar\")", "-cp \"" + temp + "\"/a.jar"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.command);
    EXPECT_EQ(c.want, expand(c.command));
  }
}

TEST_F(LaunchScriptTest, LauncherFileAndDirectory) {
  launcher.paths.launcherPath = "/tmp/lxjAbc/launcher";
  launcher.paths.origLauncherPath = "/home/u/setup.bin";
  EXPECT_EQ("\"/tmp/lxjAbc/launcher\" \"/home/u\"", expand("%LAUNCHER_FILE%() %LAUNCHER_DIR%()"));
  launcher.paths.origLauncherPath = "setup.bin";
  EXPECT_EQ("[]", expand("[%LAUNCHER_DIR%()]"));
  launcher.paths.origLauncherPath = "C:\\cd\\setup.exe";
  EXPECT_EQ("\"C:\\\\cd\"", expand("%LAUNCHER_DIR%()"));
}

// TEMP_DIR names the directory of the launcher's own temporary files: TMPDIR
// when it names one, else -lx:tempdir, else /tmp.
TEST_F(LaunchScriptTest, TempDirIsWhereTheLaunchersFilesGo) {
  std::string root = dir.file("root");
  ASSERT_EQ(0, mkdir(root.c_str(), 0700));
  SetTempRoot(root.c_str());
  EXPECT_EQ("\"" + tmp() + "\"", expand("%TEMP_DIR%()"));
  setenv("TMPDIR", dir.file("missing").c_str(), 1);
  EXPECT_EQ("\"" + root + "\"", expand("%TEMP_DIR%()"));
  unsetenv("TMPDIR");
  SetTempRoot("/tmp");
  EXPECT_EQ("\"/tmp\"", expand("%TEMP_DIR%()"));
}

// The description the launcher wrote for the wizard lies in its temporary
// directory: its path is carried like the launcher's other paths, while
// the description's other values stand as they are.
TEST_F(LaunchScriptTest, TheWrittenDescriptionsPathIsCarriedLikeTheLaunchersOwn) {
  describeJvm("/opt/$JRE", "bin/java");
  jvmTags.setValue("JVM_FILE", "/tmp/a b/$(x)");
  EXPECT_EQ("\"/tmp/a b/\\$(x)\" -Df=\"/tmp/a b/\\$(x)\" /opt/$JRE",
            expand("@JVM_FILE@ -Df=\"@JVM_FILE@\" @JVM_HOME@"));
}

TEST_F(LaunchScriptTest, WrongArgumentCounts) {
  const struct {
    const char* command;
    const char* message;
  } cases[] = {
      {"%REPLACE%(\"a\", \"b\")", "REPLACE function requires 3 arguments."},
      {"%REPLACE%(\"a\", \"b\", \"c\", \"d\")", "REPLACE function requires 3 arguments."},
      {"%RUNTIME_SYSTEMPROP%(\"x\")", "RUNTIME_SYSTEMPROP function takes no arguments."},
      {"%RUNTIME_JAVAARGS%(\"x\")", "RUNTIME_JAVAARGS function takes no arguments."},
      {"%SYSTEMPROP%(\"a\")", "SYSTEMPROP function requires 2 arguments."},
      {"%SYSTEMPROP%(\"a\", \"b\", \"c\")", "SYSTEMPROP function requires 2 arguments."},
      {"%IF_EXISTS%(\"a\")", "IF_EXISTS function requires 2 arguments."},
      {"%IF_EXISTS%()", "IF_EXISTS function requires 2 arguments."},
      {"%LAUNCHER_FILE%(\"x\")", "LAUNCHER_FILE function takes 0 arguments."},
      {"%LAUNCHER_DIR%(\"x\")", "LAUNCHER_DIR function takes 0 arguments."},
      {"%APPLICATION_ARCHIVE%(\"x\", \"y\")", "APPLICATION_ARCHIVE function takes 0 arguments."},
      {"%TEMP_DIR%(\"x\")", "TEMP_DIR function takes 0 arguments."},
      {"%APP_DIR%(\"x\")", "APP_DIR function takes 0 arguments."},
      {"%SYSTEMPROP%(\"a\"", "SYSTEMPROP function requires 2 arguments."},  // the call ends with the text
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.command);
    EXPECT_EQ(std::string("Launch script error: ") + c.message, expansionError(c.command));
  }
}

TEST_F(LaunchScriptTest, MalformedCalls) {
  const struct {
    const char* command;
    const char* message;
  } cases[] = {
      {"x %LAUNCHER_FILE% y", "Expected left parenthesis. (near character 17)"},
      {"%SYSTEMPROP%(\"a\" \"b\")", "Expected right parenthesis. (near character 16)"},
      {"%CP%(x)", "Expected string arg. (near character 5)"},
      {"%CP%(\"a\",,)", "Expected string arg. (near character 9)"},
      {"%CP%(", "Expected string arg. (near character 5)"},
      {"%cp%()", "Invalid function name (cp)."},
      {"%NOSUCH%", "Invalid function name (NOSUCH)."},  // named before the arguments are read
      {"50%% of %TEMP_DIR%()", "Invalid function name (% of )."},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.command);
    EXPECT_EQ(std::string("Launch script error: ") + c.message, expansionError(c.command));
  }
  EXPECT_EQ("Expected double quote to end argument near 6", expansionError("%CP%(\"abc"));
}

TEST_F(LaunchScriptTest, ScriptErrorLogsTheTextWhereItStopped) {
  expansionError("run %TEMP_DIR%() %BAD%()");
  EXPECT_NE(std::string::npos, logText().find("Launch command:\nrun " + tmp() + " %BAD%()\n")) << logText();
}

TEST_F(LaunchScriptTest, RuntimeSideFiles) {
  describeJvm("/opt/jre", "bin/java");
  dir.write("setup.sp", "a=b\njunk\nc=d=e\r\nhome=@JVM_HOME@\n\n");
  dir.write("setup.ja", "-Xmx64m\n\n  -Dx=%LAUNCHER_DIR%()  \n@NOSUCH@\n-server");
  EXPECT_EQ("-Da=b -Dc=d=e -Dhome=/opt/jre", expand("%RUNTIME_SYSTEMPROP%()"));
  EXPECT_EQ("-Xmx64m -Dx=\"" + dir.path() + "\" -server", expand("%RUNTIME_JAVAARGS%()"));
}

TEST_F(LaunchScriptTest, MissingSideFilesGiveNothing) {
  EXPECT_EQ("[][]", expand("[%RUNTIME_SYSTEMPROP%()][%RUNTIME_JAVAARGS%()]"));
}

TEST_F(LaunchScriptTest, ValuesThatCallThemselvesAreStopped) {
  dir.write("setup.ja", "-Dloop %RUNTIME_JAVAARGS%()");
  jvmTags.setValue("SELF", "x@SELF@");
  jvmTags.setValue("ENV_LOOP", "#LX_WIZARD_A#");
  setenv("LX_WIZARD_A", "#LX_WIZARD_A#", 1);
  const struct {
    const char* command;
    const char* macro;
  } cases[] = {
      {"java %RUNTIME_JAVAARGS%()", "%RUNTIME_JAVAARGS%"},
      {"java @SELF@", "@SELF@"},
      {"java %IF_EXISTS%(\"SELF\", \"@SELF@\")", "@SELF@"},
      {"java #LX_WIZARD_A#", "#LX_WIZARD_A#"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.command);
    EXPECT_EQ(std::string("Launch script error: The macro ") + c.macro +
                  " refers to itself, directly or through other values, and cannot be expanded.",
              expansionError(c.command));
  }
}

TEST_F(LaunchScriptTest, ArchiveThatCallsTheClassPathIsAnError) {
  TagFile tags;
  tags.setValue("COMMAND", "java %CP%()");
  tags.setValue("ARCHIVE", "%CP%()");
  LaunchScript script(launcher.context, &tags, 1);
  EXPECT_EQ("Launch script error: The ARCHIVE value of the launch script must not call the CP function.",
            ThrownBy([&] { script.expandCommand(&jvm); }));
}
