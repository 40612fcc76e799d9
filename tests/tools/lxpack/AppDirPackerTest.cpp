#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <string>

#include "archive/AppDirReader.h"
#include "archive/Inflate.h"
#include "lxpack/AppDirPacker.h"
#include "lxpack/Usage.h"
#include "support/TempDir.h"

namespace {

class AppDirPackerTest : public ::testing::Test {
 protected:
  std::string path(const std::string& name) const { return dir.file(name); }

  void makeDirectory(const std::string& name) const { ASSERT_EQ(0, mkdir(path(name).c_str(), 0755)) << name; }
  void link(const std::string& target, const std::string& name) const {
    ASSERT_EQ(0, symlink(target.c_str(), path(name).c_str())) << name;
  }

  // Packs folder as lxpack does; the PackError's text, or "" when packed.
  std::string pack(const std::string& folder) {
    try {
      packed = packAppDirectory(path(folder), path("folder.lxdir"));
    } catch (const PackError& e) {
      return e.what();
    }
    return "";
  }

  // Unpacks what pack wrote with the launcher's own reader into "unpacked".
  void unpack() const {
    makeDirectory("unpacked");
    const std::string compressed = ReadFile(path("folder.lxdir"));
    AppDirReader reader(path("unpacked").c_str(), packed.fileCount, packed.size);
    inflateRaw(reinterpret_cast<const unsigned char*>(compressed.data()), compressed.size(), reader);
    reader.finish();
  }

  static int modeOf(const std::string& file) {
    struct stat status;
    if (lstat(file.c_str(), &status) != 0) return -1;
    return status.st_mode & (S_IFMT | 0777);
  }

  TempDir dir;
  PackedAppDir packed;
};

}  // namespace

// As Debian lays out a program (/usr/share/ant/lib holding links into
// /usr/share/java): each link is carried as what it points to, a file or a
// whole directory, wherever that is, and a program stays a program.
TEST_F(AppDirPackerTest, CarriesWhatLinksPointTo) {
  makeDirectory("java");
  dir.write("java/ant.jar", "the ant jar");
  dir.write("java/run.sh", "#!/bin/sh\n");
  ASSERT_EQ(0, chmod(path("java/run.sh").c_str(), 0755));
  makeDirectory("docs");
  makeDirectory("docs/manual");
  dir.write("docs/manual/index.html", "<html>");
  makeDirectory("ant");
  makeDirectory("ant/lib");
  link(path("java/ant.jar"), "ant/lib/ant.jar");
  link("../../java/run.sh", "ant/lib/run.sh");
  link("ant.jar", "ant/lib/also-ant.jar");
  link(path("docs"), "ant/doc");
  dir.write("ant/README", "plain file");

  ASSERT_EQ("", pack("ant"));
  unpack();
  // lib with its three files, doc, doc/manual with index.html, README.
  EXPECT_EQ(8u, packed.fileCount);
  const struct {
    const char* name;
    int mode;
    const char* content;
  } files[] = {
      {"unpacked/lib/ant.jar", S_IFREG | 0600, "the ant jar"},
      {"unpacked/lib/also-ant.jar", S_IFREG | 0600, "the ant jar"},
      {"unpacked/lib/run.sh", S_IFREG | 0700, "#!/bin/sh\n"},
      {"unpacked/doc", S_IFDIR | 0700, nullptr},
      {"unpacked/doc/manual", S_IFDIR | 0700, nullptr},
      {"unpacked/doc/manual/index.html", S_IFREG | 0600, "<html>"},
      {"unpacked/README", S_IFREG | 0600, "plain file"},
  };
  for (const auto& f : files) {
    SCOPED_TRACE(f.name);
    EXPECT_EQ(f.mode, modeOf(path(f.name)));
    if (f.content) {
      EXPECT_EQ(f.content, ReadFile(path(f.name)));
    }
  }
}

// A link that leads back up would be walked without end, and one that
// points nowhere has nothing to carry: each is refused, naming the link.
// @ stands for the test's directory.
TEST_F(AppDirPackerTest, RefusesALoopAndALinkToNothingNamingTheLink) {
  const struct {
    const char* folder;
    const char* target;
    const char* mistake;
  } cases[] = {
      {"up", "..",
       "@/up/sub/link leads back to @/up, which holds it: a folder with a loop of symbolic links cannot be carried"},
      {"here", ".",
       "@/here/sub/link leads back to @/here/sub, which holds it: a folder with a loop of symbolic links cannot be "
       "carried"},
      {"absolute", "@/absolute",
       "@/absolute/sub/link leads back to @/absolute, which holds it: a folder with a loop of symbolic links cannot "
       "be carried"},
      {"self", "link",
       "@/self/sub/link is a symbolic link in a loop of links (link): it points to nothing that can be carried"},
      {"gone", "missing.jar",
       "@/gone/sub/link is a symbolic link to missing.jar, which does not exist: there is nothing to carry in its "
       "place"},
  };
  const auto withDirectory = [this](std::string text) {
    for (std::string::size_type at; (at = text.find('@')) != std::string::npos;) text.replace(at, 1, dir.path());
    return text;
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.folder);
    const std::string folder = c.folder;
    makeDirectory(folder);
    makeDirectory(folder + "/sub");
    dir.write(folder + "/sub/file", "x");
    link(withDirectory(c.target), folder + "/sub/link");
    EXPECT_EQ(withDirectory(c.mistake), pack(folder));
  }
}
