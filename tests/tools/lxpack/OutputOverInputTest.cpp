#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include "archive/FileIndexEntry.h"
#include "lxpack/OutputOverInput.h"
#include "support/TempDir.h"

namespace {

ArchiveMember member(int type, const std::string& path) {
  ArchiveMember m;
  m.type = type;
  m.sourcePath = path.c_str();
  return m;
}

}  // namespace

// Names cannot tell that two paths are one file; the output is refused
// whichever name reaches an input, and only then.
TEST(OutputOverInput, FindsTheInputWhicheverNameReachesIt) {
  TempDir dir;
  const std::string program = dir.write("lxlauncher", "the launcher program");
  const std::string jar = dir.write("app.jar", "the main jar");
  const std::string folder = dir.file("folder");
  ASSERT_EQ(0, ::mkdir(folder.c_str(), 0755));
  ASSERT_EQ(0, ::mkdir(dir.file("folder/sub").c_str(), 0755));
  const std::string data = dir.write("folder/sub/data.txt", "a file of the program's folder");
  dir.write("other.bin", "an older launcher");
  ASSERT_EQ(0, ::link(jar.c_str(), dir.file("hard.jar").c_str()));
  ASSERT_EQ(0, ::symlink(jar.c_str(), dir.file("soft.jar").c_str()));
  ASSERT_EQ(0, ::symlink(data.c_str(), dir.file("data-link").c_str()));
  ASSERT_EQ(0, ::symlink(program.c_str(), dir.file("program-link").c_str()));
  // Links in the folder are not followed (the packer refuses them): one to
  // its parent would never end a walk that followed it, one to a file
  // outside does not make that file an input.
  ASSERT_EQ(0, ::symlink("..", dir.file("folder/sub/up").c_str()));
  ASSERT_EQ(0, ::symlink(dir.file("other.bin").c_str(), dir.file("folder/other-link").c_str()));
  const std::vector<ArchiveMember> members = {member(FT_APPLICATION, jar), member(FT_APP_DIR, folder)};

  const std::string otherName = " (the same file under another name)";
  const struct {
    std::string output, want;
  } cases[] = {
      {program, "the launcher program " + program},
      {dir.file("program-link"), "the launcher program " + program + otherName},
      {jar, "the file " + jar + " the launcher carries"},
      {dir.file("hard.jar"), "the file " + jar + " the launcher carries" + otherName},
      {dir.file("soft.jar"), "the file " + jar + " the launcher carries" + otherName},
      {dir.file("folder/../app.jar"), "the file " + jar + " the launcher carries" + otherName},
      {data, "the file " + data + " of the folder " + folder + " the launcher carries"},
      {dir.file("data-link"), "the file " + data + " of the folder " + folder + " the launcher carries" + otherName},
      {folder, "the folder " + folder + " the launcher carries"},
      {dir.file("other.bin"), ""},
      {dir.file("missing.bin"), ""},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.output);
    EXPECT_EQ(c.want, inputAtOutput(c.output, program, members));
  }
  // A file is an input only of a launcher that reads it.
  EXPECT_EQ("", inputAtOutput(jar, program, {member(FT_APP_DIR, folder)}));
}
