#include "fsutil/Platform.h"

#include <sys/stat.h>
#include <sys/statvfs.h>
#include <sys/vfs.h>

#include <cerrno>
#include <cmath>
#include <cstdlib>
#include <cstring>

#include "base/LauncherException.h"
#include "fsutil/FileNavigator.h"

bool FileExists(const SString& path) {
  struct stat status;
  return stat(path.c_str(), &status) == 0;
}

void MakeExecutable(const SString& path) {
  struct stat status;
  if (stat(path.c_str(), &status) != 0) return;
  chmod(path.c_str(), (status.st_mode & 07777) | 0111);
}

SString GetEnv(const char* name) {
  const char* value = std::getenv(name);
  return value ? SString(value) : SString();
}

void SetEnv(const char* name, const SString& value) { setenv(name, value.c_str(), 1); }

void SplitEnvList(StringDeque& list, const char* name) {
  list.removeAll();
  SString value = GetEnv(name);
  if (value.empty()) return;
  SString::size_type start = 0;
  for (;;) {
    SString::size_type colon = value.find(':', start);
    if (colon == SString::npos) {
      list.add(value.substr(start));
      return;
    }
    list.add(value.substr(start, colon - start));
    start = colon + 1;
  }
}

void GetPathDirs(StringDeque& list) { SplitEnvList(list, "PATH"); }

SString FileSeparator() { return "/"; }

void AddRootDirs(StringDeque& roots) { roots.add("/"); }

void SearchAllDisks(const StringDeque& names, FileFindListener* listener) {
  StringDeque roots;
  AddRootDirs(roots);
  FindFiles search(names, listener);
  for (int i = 0; i < roots.count(); ++i) {
    SString root = roots.get(i);
    if (endsWith(root, "/") == SString::npos) root += '/';
    if (search.navigate(root) != 0) return;
  }
}

double DiskBlocksNeeded(double bytes, long files, double blockSize) {
  double blocks = std::floor(bytes / blockSize);
  if (files == 1) {
    if (std::fmod(bytes, blockSize) != 0) blocks += 1;
  } else if (files > 1) {
    blocks += static_cast<double>(files);
  }
  return blocks;
}

bool HasEnoughDiskSpace(const SString& directory, double bytes, long files) {
  const char* where = !directory.empty() && directory[0] == '/' ? directory.c_str() : ".";
  struct statfs fileSystem;
  if (statfs(where, &fileSystem) != 0) throw LauncherException(std::strerror(errno));
  // Counts are in fragments where the file system has them; on most file
  // systems a fragment is a block.
  double blockSize = static_cast<double>(fileSystem.f_frsize ? fileSystem.f_frsize : fileSystem.f_bsize);
  double available = static_cast<double>(fileSystem.f_bavail);
  return available * blockSize >= DiskBlocksNeeded(bytes, files, blockSize) * blockSize;
}

bool IsOnNoexecFileSystem(const SString& dir) {
  struct statvfs fileSystem;
  if (statvfs(dir.c_str(), &fileSystem) != 0) return false;
  return (fileSystem.f_flag & ST_NOEXEC) != 0;
}

uint32_t ReadBigEndian32(const unsigned char* bytes) {
  return (static_cast<uint32_t>(bytes[0]) << 24) | (static_cast<uint32_t>(bytes[1]) << 16) |
         (static_cast<uint32_t>(bytes[2]) << 8) | static_cast<uint32_t>(bytes[3]);
}

int16_t ReadBigEndian16(const unsigned char* bytes) {
  return static_cast<int16_t>(static_cast<uint16_t>((bytes[0] << 8) | bytes[1]));
}
