#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdlib>
#include <string>

#include "fsutil/CacheDirectory.h"
#include "fsutil/FileSystemFixtures.h"
#include "support/TempDir.h"

namespace {

// Sets an environment variable for the object's lifetime.
class ScopedEnv {
 public:
  ScopedEnv(const char* name, const std::string& value) : name_(name) {
    const char* old = std::getenv(name);
    had_ = old != nullptr;
    if (had_) old_ = old;
    setenv(name, value.c_str(), 1);
  }
  ~ScopedEnv() {
    if (had_) {
      setenv(name_, old_.c_str(), 1);
    } else {
      unsetenv(name_);
    }
  }
  ScopedEnv(const ScopedEnv&) = delete;
  ScopedEnv& operator=(const ScopedEnv&) = delete;

 private:
  const char* name_;
  bool had_;
  std::string old_;
};

std::string privateDirectory() { return PrivateCacheDirectory("tmp").c_str(); }

int modeOf(const std::string& path) {
  struct stat st;
  return stat(path.c_str(), &st) == 0 ? static_cast<int>(st.st_mode & 07777) : -1;
}

}  // namespace

TEST(CacheDirectory, MakesAPrivateDirectoryInTheUsersCache) {
  TempDir t;
  ScopedEnv cache("XDG_CACHE_HOME", t.file("cache"));
  const std::string want = t.file("cache/lxlauncher/tmp");
  EXPECT_EQ(want, privateDirectory());
  EXPECT_EQ(0700, modeOf(want));
  // One that others may enter is made private again.
  chmod(want.c_str(), 0755);
  EXPECT_EQ(want, privateDirectory());
  EXPECT_EQ(0700, modeOf(want));
  // A relative XDG_CACHE_HOME counts for nothing: ~/.cache it is.
  ScopedEnv relative("XDG_CACHE_HOME", "relative/cache");
  ScopedEnv home("HOME", t.file("home"));
  MakeDirs(t.file("home"));
  EXPECT_EQ(t.file("home/.cache/lxlauncher/tmp"), privateDirectory());
}

TEST(CacheDirectory, RefusesAWayAnotherUserCouldChange) {
  TempDir t;
  const uid_t other = geteuid() == 12345 ? 12346 : 12345;
  MakeDirs(t.file("open"));
  chmod(t.file("open").c_str(), 0777);
  MakeDirs(t.file("theirs/cache"));
  symlink(t.file("theirs/cache").c_str(), t.file("link").c_str());
  MakeDirs(t.file("sticky"));
  chmod(t.file("sticky").c_str(), 01777);
  if (chown(t.file("theirs").c_str(), other, other) != 0) GTEST_SKIP() << "cannot give a directory to another user";
  const struct {
    const char* cache;
    bool used;
  } cases[] = {
      {"open/cache", false},    // anyone may replace what lies below
      {"theirs/cache", false},  // the other user may
      {"link", false},          // the same, through a link of the user's
      {"sticky/cache", true},   // as /tmp: nobody may replace another's entries
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.cache);
    ScopedEnv cache("XDG_CACHE_HOME", t.file(c.cache));
    std::string got = privateDirectory();
    EXPECT_EQ(c.used, !got.empty()) << got;
    // Nothing is made where the way is not the user's.
    if (!c.used) {
      EXPECT_NE(0, access((t.file(c.cache) + "/lxlauncher").c_str(), F_OK));
    }
  }
}
