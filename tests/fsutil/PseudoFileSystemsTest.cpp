#include <gtest/gtest.h>
#include <sys/vfs.h>

#include "fsutil/PseudoFileSystems.h"
#include "support/TempDir.h"

namespace {

long TypeOf(const std::string& path) {
  struct statfs fileSystem;
  if (statfs(path.c_str(), &fileSystem) != 0) return -1;
  return fileSystem.f_type;
}

}  // namespace

TEST(PseudoFileSystems, RecognisesKernelFileSystemsByTheirType) {
  for (const char* pseudo : {"/proc", "/sys", "/dev/pts"}) {
    SCOPED_TRACE(pseudo);
    long type = TypeOf(pseudo);
    if (type == -1) continue;  // not mounted in this environment
    EXPECT_TRUE(IsPseudoFileSystem(type));
  }
  TempDir t;
  EXPECT_FALSE(IsPseudoFileSystem(TypeOf(t.path())));
  EXPECT_FALSE(IsPseudoFileSystem(TypeOf("/")));
  long shm = TypeOf("/dev/shm");
  if (shm != -1) {
    EXPECT_FALSE(IsPseudoFileSystem(shm));
  }
}
