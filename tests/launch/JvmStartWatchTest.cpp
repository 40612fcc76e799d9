// Telling, after a launch failed at once, whether its JVM started and
// reached the program: the order in which the class library and the
// program's archive were opened, really opened and noted by the kernel,
// and the launch's status and first error line.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdlib>
#include <string>

#include "launch/JvmStartWatch.h"
#include "launch/LaunchFixture.h"
#include "launch/LaunchScript.h"

namespace {

// A home of the given layout under the test's directory, with an archive
// beside it; opens its files in the order a sequence names them.
class StartWatch : public LaunchFixture {
 protected:
  // classLibrary: the class library's place in the home, or "" for none.
  std::string makeHome(const std::string& name, const std::string& classLibrary) {
    std::string home = dir.file(name);
    std::string command = "mkdir -p '" + home + "/bin' '" + home + "/lib' '" + home + "/jre/lib'";
    EXPECT_EQ(0, std::system(command.c_str()));
    dir.write(name + "/bin/java", "#!/bin/sh\n");
    chmod((home + "/bin/java").c_str(), 0755);
    if (!classLibrary.empty()) dir.write(name + "/" + classLibrary, "classes");
    classLibrary_ = classLibrary.empty() ? "" : home + "/" + classLibrary;
    return home;
  }

  // 'C' opens the class library, 'A' the archive.
  void openInOrder(const std::string& sequence) {
    for (char c : sequence) {
      const std::string& path = c == 'C' ? classLibrary_ : archive_;
      int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
      ASSERT_GE(fd, 0) << path;
      ::close(fd);
    }
  }

  std::string archive_ = dir.write("app.jar", "PK the program");
  std::string classLibrary_;
};

TEST_F(StartWatch, ArchiveOpenedAfterTheClassLibraryShowsTheProgramWasReached) {
  const struct {
    const char* what;
    const char* classLibrary;
    const char* opens;
    bool reached;
  } cases[] = {
      {"the JVM started and loaded the program", "lib/modules", "CA", true},
      {"java read a -jar manifest, then the JVM started and loaded the program", "lib/modules", "ACA", true},
      {"java read a -jar manifest and the JVM never started", "lib/modules", "A", false},
      {"the JVM opened its class library and failed before the program", "lib/modules", "AC", false},
      {"the JVM failed while it started", "lib/modules", "C", false},
      {"java failed before anything", "lib/modules", "", false},
      {"Java 8's JRE", "lib/rt.jar", "CA", true},
      {"Java 8's JDK", "jre/lib/rt.jar", "CA", true},
      {"Java 8's JDK, never started", "jre/lib/rt.jar", "A", false},
      {"a home without a class library", "", "A", false},
  };
  int round = 0;
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    std::string home = makeHome("home" + std::to_string(++round), c.classLibrary);
    JvmStartWatch watch((home + "/bin/java").c_str());
    watch.watchProgramArchive(archive_.c_str());
    openInOrder(c.opens);
    EXPECT_EQ(c.reached, watch.programReached());
  }
}

TEST_F(StartWatch, JavaStartedThroughALinkIsWatchedInItsRealHome) {
  std::string home = makeHome("jdk", "lib/modules");
  ASSERT_EQ(0, std::system(("mkdir -p '" + dir.file("usr/bin") + "'").c_str()));
  ASSERT_EQ(0, symlink((home + "/bin/java").c_str(), dir.file("usr/bin/java").c_str()));
  JvmStartWatch watch(dir.file("usr/bin/java").c_str());
  watch.watchProgramArchive(archive_.c_str());
  openInOrder("CA");
  EXPECT_TRUE(watch.programReached());
}

TEST_F(StartWatch, WithoutAWatchedArchiveNothingIsReached) {
  std::string home = makeHome("jdk", "lib/modules");
  const struct {
    const char* what;
    std::string archive;
  } cases[] = {
      {"the launch passed no archive", ""},
      {"the archive is not there", dir.file("missing.jar")},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    JvmStartWatch watch((home + "/bin/java").c_str());
    watch.watchProgramArchive(c.archive.c_str());
    openInOrder("CA");
    EXPECT_FALSE(watch.programReached());
  }
  JvmStartWatch noJava(dir.file("nowhere/bin/java").c_str());
  noJava.watchProgramArchive(archive_.c_str());
  openInOrder("CA");
  EXPECT_FALSE(noJava.programReached());
}

// The launch tells the watch the archive its command passes: a stand-in
// java that opens its class library and then its first argument, as a JVM
// that loads the program does, against one that only reads the archive, as
// java does with a -jar manifest before it fails to create the JVM.
TEST_F(StartWatch, LaunchTellsTheWatchTheArchiveItPasses) {
  const struct {
    const char* what;
    const char* java;
    int status;
    bool reached;
  } cases[] = {
      {"the program ran and failed", "cat \"$(dirname \"$0\")/../lib/modules\" \"$1\" >/dev/null; exit 3", 3, true},
      {"the JVM did not start", "cat \"$1\" >/dev/null; echo 'Error occurred during initialization of VM'; exit 1", 1,
       false},
  };
  dir.write("media.jar", "PK the program");
  int round = 0;
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    std::string home = makeHome("jdk" + std::to_string(++round), "lib/modules");
    dir.write("jdk" + std::to_string(round) + "/bin/java", std::string("#!/bin/sh\n") + c.java + "\n");
    describeJvm(home.c_str(), "bin/java");
    TagFile tags;
    tags.setValue("COMMAND", "\"@JVM_HOME@/@JVM_EXE@\" %APPLICATION_ARCHIVE%(\"media.jar\")");
    LaunchScript script(launcher.context, &tags, 1);
    JvmStartWatch watch((home + "/bin/java").c_str());
    EXPECT_EQ(c.status, script.launch(&jvm, nullptr, 0, &watch));
    EXPECT_EQ(c.reached, watch.programReached());
  }
}

TEST(JvmMayNotHaveStarted, OnlyASignThatTheProgramRanSaysNo) {
  const char* const mainClassMissing =
      "Error: Could not find or load main class Tool\nCaused by: java.lang.ClassNotFoundException: Tool\n";
  const struct {
    const char* what;
    int status;
    bool programReached;
    const char* errorOutput;
    bool mayNotHaveStarted;
  } cases[] = {
      {"a compiler's failure", 1, true, "", false},
      {"a linter's status", 4, true, "", false},
      {"no sign on a console", 1, false, "", true},
      {"java found no main class", 1, false, mainClassMissing, false},
      {"java found no main class, after its note on the environment", 1, false,
       "Picked up JAVA_TOOL_OPTIONS: -Xss2m\nError: Could not find or load main class Tool\n", false},
      {"the same words with a status java does not give them", 2, false, mainClassMissing, true},
      {"the same words after other output", 1, false, "warning\nError: Could not find or load main class Tool\n", true},
      {"the JVM failed while it started", 1, false,
       "Error occurred during initialization of VM\nUnable to load jimage library\n", true},
      {"the JVM refused an option", 1, false, "Error: Could not create the Java Virtual Machine.\n", true},
      {"the shell could not run java", 127, false, "java: error while loading shared libraries: libjli.so\n", true},
      {"java is not a program", 126, true, "", true},
      {"a crash, whatever came before", 134, true, "", true},
      {"a crash on a bad address", 139, true, "", true},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    EXPECT_EQ(c.mayNotHaveStarted, jvmMayNotHaveStarted(LaunchEnd{c.status, c.programReached, c.errorOutput}));
  }
}

}  // namespace
