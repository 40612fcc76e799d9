#include "fsutil/DirectoryBit.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>

bool EntryHasDirectoryBit(int dirFd, const char* name, unsigned char entryType) {
  if (entryType != DT_UNKNOWN) return HasDirectoryBit(DTTOIF(entryType));
  struct stat status;
  if (fstatat(dirFd, name, &status, AT_SYMLINK_NOFOLLOW) != 0) return false;
  return HasDirectoryBit(status.st_mode);
}
