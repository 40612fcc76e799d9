#include <gtest/gtest.h>
#include <sys/stat.h>

#include <string>

#include "jvm/WindowingLibrary.h"
#include "messages/ConsoleFixture.h"
#include "support/TempDir.h"

namespace {

// Makes the directories of a relative path and the file at its end.
void makeFile(const TempDir& dir, const std::string& path) {
  std::string so_far = dir.path();
  std::string::size_type start = 0, slash;
  while ((slash = path.find('/', start)) != std::string::npos) {
    so_far += "/" + path.substr(start, slash - start);
    mkdir(so_far.c_str(), 0755);
    start = slash + 1;
  }
  dir.write(path, "");
}

}  // namespace

TEST(WindowingLibrary, TellsHomesThatCanOpenWindowsFromHeadlessOnes) {
  const struct {
    const char* file;  // the one file the home holds
    bool want;
  } cases[] = {
      {"lib/libawt_xawt.so", true},                // Java 9 on
      {"lib/amd64/libawt_xawt.so", true},          // a Java 8 JRE
      {"lib/aarch64/libawt_xawt.so", true},        // whatever the machine
      {"jre/lib/amd64/libawt_xawt.so", true},      // a Java 8 JDK
      {"jre/lib/libawt_xawt.so", true},            //
      {"lib/libawt_headless.so", false},           // a headless JDK
      {"lib/libawt.so", false},                    //
      {"lib/amd64/server/libawt_xawt.so", false},  // too deep
      {"libawt_xawt.so", false},                   // not in lib/
      {"bin/java", false},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.file);
    TempDir home;
    makeFile(home, c.file);
    EXPECT_EQ(c.want, HomeCanOpenWindows(home.path().c_str()));
  }
}

TEST(WindowingLibrary, ADirectoryOfTheLibrarysNameIsNoLibrary) {
  TempDir home;
  mkdir(home.file("lib").c_str(), 0755);
  mkdir(home.file("lib/libawt_xawt.so").c_str(), 0755);
  EXPECT_FALSE(HomeCanOpenWindows(home.path().c_str()));
  EXPECT_FALSE(HomeCanOpenWindows(""));
  EXPECT_FALSE(HomeCanOpenWindows("/nonexistent/jdk"));
}

TEST(WindowingLibrary, ADisplayIsThereWhenEitherVariableIsSetAndNotEmpty) {
  const struct {
    const char* display;
    const char* wayland;
    bool want;
  } cases[] = {
      {":0", nullptr, true}, {nullptr, "wayland-0", true}, {":1", "wayland-0", true}, {nullptr, nullptr, false},
      {"", "", false},       {"", "wayland-0", true},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(std::string(c.display ? c.display : "(unset)") + " " + (c.wayland ? c.wayland : "(unset)"));
    ScopedVariable display("DISPLAY", c.display);
    ScopedVariable wayland("WAYLAND_DISPLAY", c.wayland);
    EXPECT_EQ(c.want, DisplayAvailable());
  }
}
