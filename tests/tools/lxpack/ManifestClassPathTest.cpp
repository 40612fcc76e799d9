#include <gtest/gtest.h>

#include "lxpack/ManifestClassPath.h"

TEST(ManifestClassPath, ResolvesEntriesAsJavaResolvesUrls) {
  const struct {
    const char* directory;
    const char* entry;
    ClassPathEntry::Kind kind;
    const char* path;
  } cases[] = {
      {"/w/app", "lib/a.jar", ClassPathEntry::kFile, "/w/app/lib/a.jar"},
      {"/w/app", "../shared/a.jar", ClassPathEntry::kFile, "/w/app/../shared/a.jar"},
      {"/w/app", "my%20lib.jar", ClassPathEntry::kFile, "/w/app/my lib.jar"},
      {"/w/app", "100%.jar", ClassPathEntry::kFile, "/w/app/100%.jar"},
      {"/w/app", "/usr/share/java/cup.jar", ClassPathEntry::kFile, "/usr/share/java/cup.jar"},
      {"/", "a.jar", ClassPathEntry::kFile, "/a.jar"},
      {".", "a.jar", ClassPathEntry::kFile, "./a.jar"},
      {"/w/app", "file:/opt/x%2By.jar", ClassPathEntry::kFile, "/opt/x+y.jar"},
      {"/w/app", "file:///opt/x.jar", ClassPathEntry::kFile, "/opt/x.jar"},
      {"/w/app", "FILE://localhost/opt/x.jar", ClassPathEntry::kFile, "/opt/x.jar"},
      {"/w/app", "classes/", ClassPathEntry::kDirectory, "/w/app/classes/"},
      {"/w/app", "file://server/share/x.jar", ClassPathEntry::kNotLocal, ""},
      {"/w/app", "https://example.org/x.jar", ClassPathEntry::kNotLocal, ""},
      {"/w/app", "jar:file:/x.jar!/", ClassPathEntry::kNotLocal, ""},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.entry);
    ClassPathEntry entry = resolveClassPathEntry(c.directory, c.entry);
    EXPECT_EQ(c.kind, entry.kind);
    EXPECT_EQ(c.path, entry.path);
  }
}
