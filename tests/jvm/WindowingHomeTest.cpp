// Whether a JVM home can open windows, from its AWT library.
#include <gtest/gtest.h>

#include <string>

#include "jvm/SearchFixture.h"
#include "jvm/WindowingHome.h"

namespace {

TEST(WindowingHome, FindsTheAwtLibraryOfEachLayout) {
#if defined(__aarch64__)
  const std::string arch = "aarch64", otherArch = "amd64";
#else
  const std::string arch = "amd64", otherArch = "aarch64";
#endif
  const struct {
    std::string library;  // below the home; empty for none
    bool opensWindows;
  } cases[] = {
      {"lib/libawt_xawt.so", true},
      {"lib/" + arch + "/libawt_xawt.so", true},
      {"jre/lib/" + arch + "/libawt_xawt.so", true},
      {"lib/" + otherArch + "/libawt_xawt.so", false},
      {"lib/libawt_headless.so", false},
      {"", false},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.library);
    TempDir home;
    if (!c.library.empty()) WriteFakeJava(home.path(), "", c.library);
    EXPECT_EQ(c.opensWindows, HomeCanOpenWindows(home.path().c_str()));
  }
}

TEST(WindowingHome, ADisplayIsThereWithEitherVariable) {
  const struct {
    const char* display;
    const char* wayland;
    bool available;
  } cases[] = {{":0", nullptr, true}, {nullptr, "wayland-0", true}, {"", "", false}, {nullptr, nullptr, false}};
  for (const auto& c : cases) {
    ScopedEnv display("DISPLAY", c.display);
    ScopedEnv wayland("WAYLAND_DISPLAY", c.wayland);
    EXPECT_EQ(c.available, DisplayAvailable());
  }
}

}  // namespace
