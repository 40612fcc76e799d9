#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>
#include <zlib.h>

#include <cstdint>
#include <string>
#include <vector>

#include "lxpack/ManifestClassPath.h"
#include "support/TempDir.h"

namespace {

void putLittleEndian(std::string& bytes, uint32_t value, int count) {
  for (int i = 0; i < count; ++i, value >>= 8) bytes += static_cast<char>(value & 0xFF);
}

// A zip file of one stored entry, the manifest: all of a jar that the
// Class-Path reading looks at.
std::string jarWithManifest(const std::string& manifest) {
  const std::string name = "META-INF/MANIFEST.MF";
  const uint32_t crc = static_cast<uint32_t>(
      crc32(crc32(0L, Z_NULL, 0), reinterpret_cast<const Bytef*>(manifest.data()), static_cast<uInt>(manifest.size())));
  const uint32_t size = static_cast<uint32_t>(manifest.size());
  std::string zip;
  putLittleEndian(zip, 0x04034b50, 4);
  for (uint32_t field : {20u, 0u, 0u, 0u, 0u}) putLittleEndian(zip, field, 2);  // version, flags, stored, time, date
  for (uint32_t field : {crc, size, size}) putLittleEndian(zip, field, 4);
  putLittleEndian(zip, static_cast<uint32_t>(name.size()), 2);
  putLittleEndian(zip, 0, 2);
  zip += name + manifest;
  const uint32_t directoryAt = static_cast<uint32_t>(zip.size());
  putLittleEndian(zip, 0x02014b50, 4);
  for (uint32_t field : {20u, 20u, 0u, 0u, 0u, 0u}) putLittleEndian(zip, field, 2);
  for (uint32_t field : {crc, size, size}) putLittleEndian(zip, field, 4);
  putLittleEndian(zip, static_cast<uint32_t>(name.size()), 2);
  for (int i = 0; i < 4; ++i) putLittleEndian(zip, 0, 2);  // extra, comment, disk, internal attributes
  putLittleEndian(zip, 0, 4);                              // external attributes
  putLittleEndian(zip, 0, 4);                              // local header at the start
  zip += name;
  const uint32_t directorySize = static_cast<uint32_t>(zip.size()) - directoryAt;
  putLittleEndian(zip, 0x06054b50, 4);
  for (uint32_t field : {0u, 0u, 1u, 1u}) putLittleEndian(zip, field, 2);
  putLittleEndian(zip, directorySize, 4);
  putLittleEndian(zip, directoryAt, 4);
  putLittleEndian(zip, 0, 2);
  return zip;
}

}  // namespace

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

// A dependency's manifest can name any file of the packager's machine;
// each one carried is told with the manifest and the entry that named it,
// and what is no zip file is refused rather than shipped.
TEST(ManifestClassPath, TellsWhereEachCarriedFileComesFromAndRefusesWhatIsNoZip) {
  TempDir dir;
  for (const char* folder : {"app", "app/lib", "private", "up"}) ASSERT_EQ(0, ::mkdir(dir.file(folder).c_str(), 0755));
  dir.write("private/keys.zip", jarWithManifest(""));
  dir.write("private/url keys.zip", jarWithManifest(""));
  dir.write("up/up.zip", jarWithManifest(""));
  dir.write("notes.txt", "no zip file, but long enough to hold a zip's end record\n");
  ASSERT_EQ(0, ::symlink(dir.file("private/keys.zip").c_str(), dir.file("app/lib/same-keys.zip").c_str()));
  // The jar that names more: one it names already and one through a link.
  dir.write("app/lib/dep.jar", jarWithManifest("Class-Path: ../../up/up.zip same-keys.zip\n"));
  const std::string keys = dir.file("private/keys.zip");
  const std::string main = dir.write(
      "app/main.jar", jarWithManifest("Manifest-Version: 1.0\nClass-Path: " + keys + " file://" + dir.path() +
                                      "/private/url%20keys.zip ../up/up.zip lib/dep.jar missing.jar ../notes.txt\n"));

  const CarriedClassPath carried = carriedClassPath({main});

  const struct {
    std::string path, namedIn, entry;
  } expected[] = {
      {keys, main, keys},
      {dir.file("private/url keys.zip"), main, "file://" + dir.path() + "/private/url%20keys.zip"},
      {dir.file("app/../up/up.zip"), main, "../up/up.zip"},
      {dir.file("app/lib/dep.jar"), main, "lib/dep.jar"},
  };
  ASSERT_EQ(sizeof expected / sizeof expected[0], carried.jars.size());
  for (size_t i = 0; i < carried.jars.size(); ++i) {
    SCOPED_TRACE(expected[i].entry);
    EXPECT_EQ(expected[i].path, carried.jars[i].path);
    EXPECT_EQ(expected[i].namedIn, carried.jars[i].namedIn);
    EXPECT_EQ(expected[i].entry, carried.jars[i].entry);
  }
  const std::vector<std::string> refusals = {
      "the Class-Path of " + main + " names missing.jar, and there is no file " + dir.file("app/missing.jar") +
          ": the program would not find its classes; put the jar there, or leave it out of the manifest and give "
          "it with --class-path",
      "the Class-Path of " + main + " names ../notes.txt, which a launcher cannot carry: " +
          dir.file("app/../notes.txt") + " is not a jar: it is no zip file (it has no zip directory at its end)",
  };
  EXPECT_EQ(refusals, carried.refusals);
  EXPECT_TRUE(carried.warnings.empty());
}
