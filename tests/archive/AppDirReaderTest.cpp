#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <string>

#include "archive/AppDirBytes.h"
#include "archive/AppDirReader.h"
#include "base/Inflate.h"
#include "base/LauncherException.h"
#include "support/Processes.h"
#include "support/TempDir.h"

namespace {

class AppDirReaderTest : public ::testing::Test {
 protected:
  void SetUp() override { ASSERT_EQ(0, mkdir(folder().c_str(), 0700)); }

  std::string folder() const { return dir.file("folder"); }
  std::string path(const std::string& name) const { return folder() + "/" + name; }

  // Unpacks the container, compressed as lxpack does, into folder(); the
  // message it fails with, or "" when it succeeds.
  std::string unpack(const AppDirBytes& container, uint32_t files = 1000, uint32_t size = 1000000) {
    const std::string compressed = deflateRawBytes(container.bytes());
    try {
      AppDirReader reader(folder().c_str(), files, size);
      inflateRaw(reinterpret_cast<const unsigned char*>(compressed.data()), compressed.size(), reader);
      reader.finish();
    } catch (const LauncherException& e) {
      return e.getMessage().c_str();
    }
    return "";
  }

  std::string invalid(const std::string& what) const {
    return "Invalid application directory " + folder() + ": " + what + ".";
  }

  static int modeOf(const std::string& file) {
    struct stat status;
    if (lstat(file.c_str(), &status) != 0) return -1;
    return status.st_mode & 07777;
  }

  TempDir dir;
};

TEST_F(AppDirReaderTest, UnpacksDirectoriesAndFilesWithTheLaunchersModes) {
  std::string big(300000, 'z');
  for (size_t i = 0; i < big.size(); i += 97) big[i] = static_cast<char>(i);
  AppDirBytes container;
  container.directory("keymaps")
      .file("keymaps/default.keys", "ctrl-s save\n")
      .directory("modes")
      .directory("modes/sub")
      .file("modes/sub/mode 1.xml", big)
      .file("run.sh", "#!/bin/sh\n", true)
      .file("empty", "")
      .directory("doc")
      .end();
  ASSERT_EQ("", unpack(container, 8, 12 + 300000 + 10));
  EXPECT_EQ("ctrl-s save\n", ReadFile(path("keymaps/default.keys")));
  EXPECT_TRUE(big == ReadFile(path("modes/sub/mode 1.xml")));
  EXPECT_EQ("#!/bin/sh\n", ReadFile(path("run.sh")));
  EXPECT_EQ("", ReadFile(path("empty")));
  const struct {
    const char* name;
    int mode;
  } modes[] = {
      {"keymaps", 0700}, {"modes/sub", 0700},           {"doc", 0700}, {"keymaps/default.keys", 0600}, {"run.sh", 0700},
      {"empty", 0600},   {"modes/sub/mode 1.xml", 0600}};
  for (const auto& m : modes) EXPECT_EQ(m.mode, modeOf(path(m.name))) << m.name;
}

TEST_F(AppDirReaderTest, RefusesAContainerCutShortOrOfAnotherKind) {
  const std::string whole = AppDirBytes().directory("d").file("d/f", "0123456789").end().bytes();
  const struct {
    const char* what;
    std::string bytes;
    std::string message;
  } cases[] = {
      {"no end record", whole.substr(0, whole.size() - 1), "it is cut short"},
      {"cut inside a file", whole.substr(0, whole.size() - 4), "it is cut short"},
      {"cut inside a name", whole.substr(0, 9), "it is cut short"},
      {"only part of the magic", whole.substr(0, 2), "it is cut short"},
      {"another magic", "LXD2" + whole.substr(4), "it does not start as one"},
      {"bytes after the end", whole + "x", "bytes follow its end record"},
      {"a name of no bytes", AppDirBytes().record('D', "").bytes(), "a name of 0 bytes"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    const std::string compressed = deflateRawBytes(c.bytes);
    const int descriptors = OpenDescriptorCount();
    std::string message;
    try {
      AppDirReader reader(folder().c_str(), 1000, 1000000);
      inflateRaw(reinterpret_cast<const unsigned char*>(compressed.data()), compressed.size(), reader);
      reader.finish();
    } catch (const LauncherException& e) {
      message = e.getMessage().c_str();
    }
    EXPECT_EQ(invalid(c.message), message);
    // Also the file being written when the container broke off is closed.
    EXPECT_EQ(descriptors, OpenDescriptorCount());
    ASSERT_EQ(0, system(("rm -rf '" + folder() + "' && mkdir -m 700 '" + folder() + "'").c_str()));
  }
}

// Names that would reach outside the folder, or records of things other
// than directories and files, are refused before anything is made for
// them, and nothing appears beside the folder.
TEST_F(AppDirReaderTest, RefusesHostileNamesAndLinks) {
  const struct {
    const char* what;
    AppDirBytes container;
    std::string message;
  } cases[] = {
      {"parent", AppDirBytes().file("../escaped", "x").end(), "\"../escaped\": the name has a \".\" or \"..\" part"},
      {"parent inside", AppDirBytes().directory("a").file("a/../../escaped", "x").end(),
       "\"a/../../escaped\": the name has a \".\" or \"..\" part"},
      {"dot", AppDirBytes().directory(".").end(), "\".\": the name has a \".\" or \"..\" part"},
      {"absolute", AppDirBytes().file(dir.file("escaped"), "x").end(),
       "\"" + dir.file("escaped") + "\": the name is absolute"},
      {"empty part", AppDirBytes().directory("a").file("a//b", "x").end(), "\"a//b\": the name has an empty part"},
      {"trailing slash", AppDirBytes().directory("a/").end(), "\"a/\": the name has an empty part"},
      {"NUL", AppDirBytes().file(std::string("a\0b", 3), "x").end(), "\"a\": the name holds a NUL byte"},
      {"file in a directory not made", AppDirBytes().file("a/b", "x").end(), "\"a/b\" comes before its directory"},
      {"file through a file", AppDirBytes().file("a", "x").file("a/b", "x").end(),
       "\"a/b\" comes before its directory"},
      {"symbolic link", AppDirBytes().record('L', "link").raw(std::string("\0\4/etc", 6)).end(),
       "it holds a record of unknown kind 76 (only directories and files are unpacked)"},
      {"device", AppDirBytes().record('C', "dev").end(),
       "it holds a record of unknown kind 67 (only directories and files are unpacked)"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    EXPECT_EQ(invalid(c.message), unpack(c.container));
    EXPECT_NE(0, access(dir.file("escaped").c_str(), F_OK));
    ASSERT_EQ(0, system(("rm -rf '" + folder() + "' && mkdir -m 700 '" + folder() + "'").c_str()));
  }
}

// A name given twice is never written through: a link the folder holds (as
// only someone else could have put it there) is not followed either.
TEST_F(AppDirReaderTest, NeverWritesThroughWhatAlreadyStandsUnderAName) {
  EXPECT_NE("", unpack(AppDirBytes().file("twice", "one").file("twice", "two").end()));
  EXPECT_EQ("one", ReadFile(path("twice")));
  ASSERT_EQ(0, symlink(dir.file("outside").c_str(), path("planted").c_str()));
  EXPECT_NE("", unpack(AppDirBytes().file("planted", "x").end()));
  EXPECT_NE(0, access(dir.file("outside").c_str(), F_OK));
}

// The free space was checked for what the launcher's index announced; a
// container holding more is refused before it writes the excess.
TEST_F(AppDirReaderTest, RefusesMoreThanTheIndexAnnounces) {
  AppDirBytes container;
  container.directory("a").file("a/one", "12345").file("a/two", "67890").end();
  EXPECT_EQ("", unpack(container, 3, 10));
  ASSERT_EQ(0, system(("rm -rf '" + folder() + "' && mkdir -m 700 '" + folder() + "'").c_str()));
  EXPECT_EQ(invalid("it holds more files than the launcher's index announces"), unpack(container, 2, 10));
  ASSERT_EQ(0, system(("rm -rf '" + folder() + "' && mkdir -m 700 '" + folder() + "'").c_str()));
  EXPECT_EQ(invalid("it holds more bytes than the launcher's index announces"), unpack(container, 3, 9));
  EXPECT_NE(0, access(path("a/two").c_str(), F_OK));
}

// Without a directory the reader checks a container as it would unpack it
// (lxpack check does so), and writes nothing.
TEST(AppDirReaderCheck, ChecksWithoutWriting) {
  const struct {
    const char* what;
    AppDirBytes container;
    std::string message;
  } cases[] = {
      {"good", AppDirBytes().directory("a").file("a/b", "x", true).end(), ""},
      {"parent", AppDirBytes().file("../b", "x").end(),
       "Invalid application directory: \"../b\": the name has a \".\" or \"..\" part."},
      {"file given twice", AppDirBytes().file("b", "x").file("b", "y").end(),
       "Invalid application directory: \"b\" is given twice."},
      {"cut short", AppDirBytes().directory("a"), "Invalid application directory: it is cut short."},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    const std::string compressed = deflateRawBytes(c.container.bytes());
    std::string message;
    try {
      AppDirReader reader(SString(), 10, 10);
      inflateRaw(reinterpret_cast<const unsigned char*>(compressed.data()), compressed.size(), reader);
      reader.finish();
    } catch (const LauncherException& e) {
      message = e.getMessage().c_str();
    }
    EXPECT_EQ(c.message, message);
    EXPECT_NE(0, access("a", F_OK));
  }
}

}  // namespace
