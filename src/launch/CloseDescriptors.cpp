#include "launch/CloseDescriptors.h"

#include <dirent.h>
#include <sys/syscall.h>
#include <unistd.h>

#include <cstdlib>

void CloseDescriptorsFrom(int first) {
#ifdef SYS_close_range
  if (syscall(SYS_close_range, static_cast<unsigned>(first), ~0U, 0U) == 0) return;
#endif
  DIR* open = opendir("/proc/self/fd");
  if (open) {
    int own = dirfd(open);
    while (struct dirent* entry = readdir(open)) {
      int fd = std::atoi(entry->d_name);
      if (fd >= first && fd != own) close(fd);
    }
    closedir(open);
    return;
  }
  for (int fd = first; fd < 65536; ++fd) close(fd);
}
