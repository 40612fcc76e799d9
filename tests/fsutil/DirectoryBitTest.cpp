#include <dirent.h>
#include <fcntl.h>
#include <gtest/gtest.h>
#include <unistd.h>

#include "fsutil/DirectoryBit.h"
#include "fsutil/FileSystemFixtures.h"
#include "support/TempDir.h"

TEST(DirectoryBit, TrustsAKnownEntryTypeWithoutAskingTheFileSystem) {
  const struct {
    unsigned char type;
    bool directory;
  } cases[] = {
      {DT_DIR, true},  {DT_BLK, true},  {DT_SOCK, true},  {DT_REG, false},
      {DT_LNK, false}, {DT_CHR, false}, {DT_FIFO, false},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(static_cast<int>(c.type));
    // No directory to ask: the answer must come from the type alone.
    EXPECT_EQ(c.directory, EntryHasDirectoryBit(-1, "nowhere", c.type));
  }
}

TEST(DirectoryBit, AsksTheFileSystemWithoutFollowingLinksForAnUnknownType) {
  TempDir t;
  MakeDirs(t.file("dir"));
  t.write("file", "x");
  ASSERT_EQ(0, symlink("dir", t.file("link").c_str()));
  int dirFd = open(t.path().c_str(), O_RDONLY | O_DIRECTORY);
  ASSERT_GE(dirFd, 0);
  const struct {
    const char* name;
    bool directory;
  } cases[] = {{"dir", true}, {"file", false}, {"link", false}, {"missing", false}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(c.directory, EntryHasDirectoryBit(dirFd, c.name, DT_UNKNOWN));
  }
  close(dirFd);
}
