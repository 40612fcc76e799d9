#include <gtest/gtest.h>
#include <sys/mount.h>

#include "fsutil/FileSystemFixtures.h"
#include "fsutil/ProgramsAllowed.h"
#include "support/TempDir.h"

TEST(ProgramsAllowed, TellsWhyProgramsCannotRunFromADirectory) {
  TempDir t;
  MakeDirs(t.file("noexec"));
  MakeDirs(t.file("exec"));
  Mount noexec("tmpfs", t.file("noexec"), MS_NOEXEC);
  Mount exec("tmpfs", t.file("exec"));
  if (!noexec.ok() || !exec.ok()) GTEST_SKIP() << "mounting tmpfs is not permitted here";
  EXPECT_EQ("its file system is mounted noexec", std::string(WhyProgramsCannotRun(t.file("noexec").c_str()).c_str()));
  EXPECT_EQ("", std::string(WhyProgramsCannotRun(t.file("exec").c_str()).c_str()));
  // A directory that is not there is judged where it fails for its own
  // reason.
  EXPECT_EQ("", std::string(WhyProgramsCannotRun(t.file("missing").c_str()).c_str()));
  // The file the check maps has no name: nothing is left.
  DIR* listing = opendir(t.file("exec").c_str());
  ASSERT_NE(nullptr, listing);
  int entries = 0;
  while (struct dirent* entry = readdir(listing)) entries += entry->d_name[0] != '.';
  closedir(listing);
  EXPECT_EQ(0, entries);
}
