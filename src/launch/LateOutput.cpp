#include "launch/LateOutput.h"

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <sys/sendfile.h>
#include <sys/syscall.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <initializer_list>

#include "archive/ProgramImage.h"
#include "base/OpenFiles.h"
#include "launch/CloseDescriptors.h"
#include "launch/OutputLog.h"

namespace {

// Where the kept descriptors are moved to in the keeper.
const int kOutFd = 3, kErrFd = 4, kLogFd = 5;
// The name a keeper started anew runs under: it tells the program that it
// is the keeper, and tells a person who lists the processes what it is.
const char kKeeperName[] = "lxlauncher: keeper of late output";
const char kLateTitle[] = "Output after the command ended, from programs it left running:\n";

const unsigned kMemoryFileCloseOnExec = 1;  // MFD_CLOEXEC

// Whether this program knows kKeeperName when started with it.
bool gKeeperStartable = false;

// Moves fd to target, or leaves target closed.
void moveTo(int fd, int target) {
  if (fd < 0) {
    close(target);
    return;
  }
  if (fd != target && dup2(fd, target) < 0) close(target);
}

// Reads the pipes at kOutFd and kErrFd until every writer has closed them,
// logging what comes within budget. One that is not open fails its first
// read, and is left alone from then on.
[[noreturn]] void keep(uint64_t budget) noexcept {
  OutputLog log(FileDescriptor(fcntl(kLogFd, F_GETFD) >= 0 ? kLogFd : -1), budget, kLateTitle);
  static char buffer[65536];
  struct pollfd pipes[2] = {{kOutFd, POLLIN, 0}, {kErrFd, POLLIN, 0}};
  while (pipes[0].fd >= 0 || pipes[1].fd >= 0) {
    if (poll(pipes, 2, -1) < 0) {
      if (errno == EINTR) continue;
      break;
    }
    for (int stream = 0; stream < 2; ++stream) {
      struct pollfd& pipe = pipes[stream];
      if (pipe.fd < 0 || pipe.revents == 0) continue;
      ssize_t n = read(pipe.fd, buffer, sizeof buffer);
      if (n < 0 && (errno == EINTR || errno == EAGAIN || errno == EWOULDBLOCK)) continue;
      if (n <= 0) {
        pipe.fd = -1;
        continue;
      }
      log.write(stream, buffer, static_cast<size_t>(n));
    }
  }
  log.finish();
  _exit(0);
}

// A process forked from the launcher holds the launcher's file for as long
// as it runs, through its program mapping and, unmapped or not, as its
// executable: only starting another program lets go of them. The launcher's
// file may be a temporary one that is removed when the launcher ends (an
// embedded launcher's), and its room on disk would stay taken, by a file
// nobody sees, for as long as the programs the keeper serves run. So the
// keeper starts the launcher program anew from a copy of it in memory (the
// program only, not the archive after it). Returns when that cannot be
// done (no memory files before Linux 3.17, a filter that refuses them, a
// program that cannot be the keeper): the keeper then goes on as forked.
void restartFromMemory(uint64_t budget) noexcept {
  if (!gKeeperStartable) return;
  FileStream program(std::fopen("/proc/self/exe", "rbe"));
  if (!program) return;
  const int64_t length = programImageLength(program.get());
  if (length <= 0) return;
#ifdef SYS_memfd_create
  // Called through syscall, as the C library's wrapper is younger than
  // the systems the launcher runs on.
  FileDescriptor copy(static_cast<int>(syscall(SYS_memfd_create, "lxlauncher", kMemoryFileCloseOnExec)));
#else
  FileDescriptor copy;
#endif
  for (off_t copied = 0; copied < length;) {
    if (sendfile(copy.get(), fileno(program.get()), &copied, static_cast<size_t>(length - copied)) <= 0) return;
  }
  program.reset();
  char budgetText[24];
  std::snprintf(budgetText, sizeof budgetText, "%llu", static_cast<unsigned long long>(budget));
  char* arguments[] = {const_cast<char*>(kKeeperName), budgetText, nullptr};
  char* environment[] = {nullptr};
#ifdef SYS_execveat
  // Through syscall as well; before Linux 3.19 the keeper goes on as forked.
  syscall(SYS_execveat, copy.get(), "", arguments, environment, AT_EMPTY_PATH);
#endif
}

[[noreturn]] void startKeeping(int outFd, int errFd, int logFd, uint64_t budget) noexcept {
  setsid();
  struct sigaction ignore = {};
  ignore.sa_handler = SIG_IGN;
  sigemptyset(&ignore.sa_mask);
  for (int signalNumber : {SIGHUP, SIGINT, SIGQUIT, SIGTERM, SIGPIPE}) sigaction(signalNumber, &ignore, nullptr);
  sigset_t none;
  sigemptyset(&none);
  sigprocmask(SIG_SETMASK, &none, nullptr);
  if (chdir("/") != 0) {
    // Any directory will do for reading pipes.
  }
  // Above every descriptor to keep, so that moving one does not overwrite
  // another; then to kOutFd, kErrFd and kLogFd.
  // The standard descriptors read and write nothing.
  const int kept[] = {outFd, errFd, logFd};
  int sources[6];
  for (int i = 0; i < 3; ++i) sources[3 + i] = kept[i] >= 0 ? fcntl(kept[i], F_DUPFD, 16) : -1;
  sources[0] = sources[1] = sources[2] = open("/dev/null", O_RDWR);
  for (int fd = 0; fd < 6; ++fd) moveTo(sources[fd], fd);
  // The keeper holds nothing else open: no terminal, no caller's pipe, not
  // the launcher's file. What it moved stays open across a new start, and
  // so do the ignored signals, the session and the directory.
  CloseDescriptorsFrom(kLogFd + 1);
  restartFromMemory(budget);
  keep(budget);
}

}  // namespace

void KeepLateOutputWhenStartedAsKeeper(int argc, char** argv) {
  if (argc == 2 && std::strcmp(argv[0], kKeeperName) == 0) {
    keep(std::strtoull(argv[1], nullptr, 10));
  }
  gKeeperStartable = true;
}

void HandOverLateOutput(int outFd, int errFd, const SString& logFile, uint64_t logBudget) {
  if (outFd < 0 && errFd < 0) return;
  FileDescriptor log = OutputLog::openFile(logFile);
  pid_t pid = fork();
  if (pid == 0) startKeeping(outFd, errFd, log.get(), logBudget);
}
