// A program's folder as the launcher unpacks it: a raw deflate stream of
// the folder's container, decoded and unpacked into a fresh directory.
//
// Input: the compressed bytes of the entry. Whatever they hold, the
// decoder and the reader fail with a LauncherException or unpack; either
// way the directory holds nothing but directories and regular files (no
// link, device or other kind), and nothing appears beside it.
#include <dirent.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdlib>
#include <cstring>
#include <string>

#include "FuzzTarget.h"
#include "archive/AppDirReader.h"
#include "base/Inflate.h"
#include "base/LauncherException.h"

namespace {

// Checks every path below directory and removes it; returns how many
// entries it held.
int checkAndRemove(const std::string& directory) {
  int count = 0;
  DIR* dir = opendir(directory.c_str());
  FUZZ_CHECK(dir != nullptr);
  for (dirent* e; (e = readdir(dir)) != nullptr;) {
    if (std::strcmp(e->d_name, ".") == 0 || std::strcmp(e->d_name, "..") == 0) continue;
    const std::string path = directory + "/" + e->d_name;
    struct stat status;
    FUZZ_CHECK(lstat(path.c_str(), &status) == 0);
    FUZZ_CHECK(S_ISDIR(status.st_mode) || S_ISREG(status.st_mode));
    ++count;
    if (S_ISDIR(status.st_mode)) {
      count += checkAndRemove(path);
      FUZZ_CHECK(rmdir(path.c_str()) == 0);
    } else {
      FUZZ_CHECK(unlink(path.c_str()) == 0);
    }
  }
  closedir(dir);
  return count;
}

// A private directory for the whole run, removed at its end.
struct BaseDirectory {
  BaseDirectory() {
    char pattern[] = "/tmp/lxfuzzappdirXXXXXX";
    FUZZ_CHECK(mkdtemp(pattern) != nullptr);
    path = pattern;
  }
  ~BaseDirectory() { rmdir(path.c_str()); }
  std::string path;
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  static BaseDirectory baseDirectory;
  const std::string& base = baseDirectory.path;
  const std::string folder = base + "/folder";
  FUZZ_CHECK(mkdir(folder.c_str(), 0700) == 0);
  const uint32_t announcedFiles = 64;
  try {
    AppDirReader reader(folder.c_str(), announcedFiles, 1 << 20);
    inflateRaw(data, size, reader);
    reader.finish();
  } catch (const LauncherException&) {
  }
  FUZZ_CHECK(checkAndRemove(folder) <= static_cast<int>(announcedFiles));
  FUZZ_CHECK(rmdir(folder.c_str()) == 0);
  // Nothing beside the folder.
  DIR* dir = opendir(base.c_str());
  FUZZ_CHECK(dir != nullptr);
  int others = 0;
  for (dirent* e; (e = readdir(dir)) != nullptr;)
    others += std::strcmp(e->d_name, ".") != 0 && std::strcmp(e->d_name, "..") != 0;
  closedir(dir);
  FUZZ_CHECK(others == 0);
  return 0;
}
