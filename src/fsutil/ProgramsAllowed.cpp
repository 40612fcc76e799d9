#include "fsutil/ProgramsAllowed.h"

#include <fcntl.h>
#include <sys/mman.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

#include "base/OpenFiles.h"
#include "fsutil/Platform.h"

SString WhyProgramsCannotRun(const SString& dir) {
  if (IsOnNoexecFileSystem(dir)) return "its file system is mounted noexec";
  // A file without a name leaves nothing behind, whatever happens next.
  FileDescriptor file(open(dir.c_str(), O_TMPFILE | O_RDWR | O_CLOEXEC, 0700));
  if (!file.isOpen()) return SString();
  SString why;
  void* code = mmap(nullptr, 4096, PROT_READ | PROT_EXEC, MAP_PRIVATE, file.get(), 0);
  if (code == MAP_FAILED) {
    if (errno == EPERM || errno == EACCES) why = SString("code mapped from it is refused: ") + std::strerror(errno);
  } else {
    munmap(code, 4096);
  }
  return why;
}
