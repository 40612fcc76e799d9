#include "launch/RunCommand.h"

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <sys/syscall.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <memory>
#include <vector>

#include "base/LauncherException.h"
#include "base/Log.h"
#include "base/Termination.h"
#include "launch/CapturedOutput.h"
#include "launch/ChildStart.h"
#include "launch/CommandLineSplitter.h"
#include "launch/LateOutput.h"
#include "launch/OutputLog.h"
#include "launch/ProcessTree.h"
#include "messages/Messages.h"

namespace {

// One read takes up to a quarter of what a capture pipe holds; the progress
// display still moves by the 4096-byte block, as if read block by block, so
// that a long output keeps the dots going at the same pace. Large reads
// from a large pipe wake a fast writer seldom and let it go on writing
// while the launcher takes in what came.
const int kReadSize = 256 * 1024;
const int kCapturePipeSize = 1024 * 1024;
const int kProgressBlock = 4096;
const int kPollMillis = 10;
// Reads from one pipe before the child and the clock are looked at again,
// so a child that writes without pause cannot keep the loop from noticing
// its end or an expired time limit.
const int kReadsPerWake = 8;

// How long the programs of a command get to end after the launcher has
// passed a signal to end on to them, before they are killed.
const int kTerminationGraceSeconds = 10;
// How long output is still read after the child has ended: what it wrote
// just before its end is in the pipes by then; what comes later is from
// programs it left running.
const int kLateOutputMillis = 150;

SString systemError() { return SString(std::strerror(errno)); }

int replaceProcessImage(const SString& command) {
  CommandLineSplitter splitter;
  splitter.parse(command);
  if (splitter.count() == 0) return 0;
  std::vector<char*> argv;
  for (int i = 0; i < splitter.count(); ++i) argv.push_back(const_cast<char*>(splitter.word(i)));
  argv.push_back(nullptr);
  std::fflush(nullptr);
  // A path is run as it is: execvp would hand a file that is no program
  // (damaged, or for another architecture) to the shell as a script.
  bool ignoredBrokenPipe = BrokenPipeAsStarted();
  if (std::strchr(argv[0], '/') != nullptr) {
    execv(argv[0], argv.data());
  } else {
    execvp(argv[0], argv.data());
  }
  int error = errno;
  if (ignoredBrokenPipe) IgnoreBrokenPipe();
  errno = error;
  return 0;
}

// Changes to a working directory for as long as the child is being forked
// and goes back afterwards, also when starting the child fails. The way back
// is kept as a descriptor, so no path length limits it.
class WorkingDirScope {
 public:
  explicit WorkingDirScope(const SString& dir) {
    if (dir.empty()) return;
    previous_ = open(".", O_PATH | O_DIRECTORY | O_CLOEXEC);
    // Without a way back the launcher would stay in the child's directory.
    if (previous_ < 0 || chdir(dir.c_str()) != 0) {
      int error = errno;
      restore();
      throw LauncherException("Error setting working directory: " + dir + " " + SString(std::strerror(error)));
    }
  }
  ~WorkingDirScope() { restore(); }
  WorkingDirScope(const WorkingDirScope&) = delete;
  WorkingDirScope& operator=(const WorkingDirScope&) = delete;

  void restore() {
    if (previous_ < 0) return;
    if (fchdir(previous_) != 0) {
      // The old directory is gone; staying in the new one is all that is left.
    }
    close(previous_);
    previous_ = -1;
  }

 private:
  int previous_ = -1;
};

// The two capture pipes. Their descriptors are kept above the three standard
// ones, so the child's redirection can never overwrite one pipe end with the
// other even when the launcher was started with standard streams closed.
struct CapturePipes {
  int outRead = -1, outWrite = -1, errRead = -1, errWrite = -1;

  ~CapturePipes() {
    for (int* fd : {&outRead, &outWrite, &errRead, &errWrite}) closeEnd(*fd);
  }
  static void closeEnd(int& fd) {
    if (fd >= 0) close(fd);
    fd = -1;
  }
  static bool create(int& readEnd, int& writeEnd) {
    int ends[2];
    if (pipe2(ends, O_CLOEXEC) != 0) return false;
    // A wish only: a user over the system's limit for pipe memory keeps the
    // default size.
    (void)fcntl(ends[0], F_SETPIPE_SZ, kCapturePipeSize);
    readEnd = liftAboveStandard(ends[0]);
    writeEnd = liftAboveStandard(ends[1]);
    return readEnd >= 0 && writeEnd >= 0;
  }
  static int liftAboveStandard(int fd) {
    if (fd > 2) return fd;
    int lifted = fcntl(fd, F_DUPFD_CLOEXEC, 3);
    int error = errno;
    close(fd);
    errno = error;
    return lifted;
  }
};

// A child killed by a signal did not succeed: it gives 128 + the signal
// number, as the shell reports it, whether the shell ran the program as a
// child of its own or was itself replaced by it.
int exitCode(int status) {
  if (WIFSIGNALED(status)) return 128 + WTERMSIG(status);
  return (status >> 8) & 0xff;
}

// A signal meant for the launcher that the child must get too: its whole
// group when it has one, otherwise it and everything it started in its
// session. From the first such signal (or an interrupt the child is to
// decide on) the child has a grace to end; then it is killed.
class SignalForwarder {
 public:
  SignalForwarder(pid_t pid, bool ownGroup, ChildSignals& signals)
      : pid_(pid), ownGroup_(ownGroup), signals_(signals) {}

  void passOn() {
    int signalNumber = signals_.takeSignalToForward();
    if (signalNumber != 0) {
      pid_t session = getsid(pid_);
      if (session > 0) childSession_ = session;
      if (ownGroup_) {
        kill(-pid_, signalNumber);
      } else {
        SignalProcessTree(pid_, signalNumber);
      }
    }
    if (deadline_ == 0 && (TerminationSignal() != 0 || signals_.interruptPending())) {
      deadline_ = MonotonicMillis() + kTerminationGraceSeconds * 1000LL;
    }
    if (deadline_ != 0 && !killed_ && MonotonicMillis() >= deadline_) {
      // The child did not end in its grace: an interrupt it was to decide
      // on ends the run as any request to end does.
      killed_ = true;
      if (signals_.interruptPending()) RequestTermination(SIGINT);
      kill(ownGroup_ ? -pid_ : pid_, SIGKILL);
    }
  }
  void ended(int status) { signals_.ended(status); }
  // When the grace of the last signal is over (a new one from now when
  // none came yet), and the child's session as the signal found it.
  long long deadline() const {
    return deadline_ != 0 ? deadline_ : MonotonicMillis() + kTerminationGraceSeconds * 1000LL;
  }
  pid_t childSession() const { return childSession_; }

 private:
  pid_t pid_;
  bool ownGroup_;
  ChildSignals& signals_;
  long long deadline_ = 0;
  bool killed_ = false;
  pid_t childSession_ = 0;
};

// A descriptor that becomes readable when the child ends, so that a wait
// ends at once rather than at the next period. Without one (kernels before
// 5.3, or a container's filter refusing the call with any error) the
// periodic look notices the end. Called through syscall, as the C
// library's wrapper is younger than the systems the launcher runs on.
int openChildDescriptor(pid_t pid) {
#ifdef SYS_pidfd_open
  return static_cast<int>(syscall(SYS_pidfd_open, pid, 0));
#else
  (void)pid;
  return -1;
#endif
}

// Watches the child until it has ended, and reads both capture pipes (when
// given) meanwhile. Waiting is done in poll on the pipes and the child, so
// output and the child's end are noticed at once. Once the child has ended,
// what it wrote last is read; programs it left running may hold the pipes
// open for hours, so the reading stops a short moment after the end, and
// openAt tells which pipes are still open.
class CaptureLoop {
 public:
  CaptureLoop(pid_t pid, int outFd, int errFd, RunLimits* limits, SignalForwarder& forwarder)
      : pid_(pid), limits_(limits), forwarder_(forwarder) {
    fds_[0] = {outFd, POLLIN, 0};
    fds_[1] = {errFd, POLLIN, 0};
    fds_[2] = {openChildDescriptor(pid), POLLIN, 0};
    if (limits_ && limits_->timeoutSeconds > 0) {
      deadline_ = Clock::now() + std::chrono::seconds(limits_->timeoutSeconds);
      limited_ = true;
    }
  }

  int run(CapturedOutput* out, CapturedOutput* err) {
    CapturedOutput* texts[2] = {out, err};
    bool ended = false;
    int status = 0;
    Clock::time_point lateEnd;
    while (!ended || fds_[0].fd >= 0 || fds_[1].fd >= 0) {
      if (!ended) forwarder_.passOn();
      if (limited_ && !expired_ && Clock::now() >= deadline_) killChild();
      if (ended && (expired_ || TerminationSignal() != 0 || Clock::now() >= lateEnd)) {
        // Whatever escaped the killed group, what the child left running
        // when the launcher is to end, or after the moment for late output:
        // take what is there and stop.
        for (int i = 0; i < 2; ++i) {
          if (fds_[i].fd >= 0) drainAvailable(i, texts[i]);
        }
        break;
      }
      // Never an endless poll, not even for the rest of the output once the
      // child has ended: a signal that came just before it would go
      // unnoticed. Closed pipes are left out by poll, which then only waits.
      int ready = poll(fds_, 3, kPollMillis);
      if (ready < 0 && errno != EINTR) {
        // Without a working poll the output cannot be read; the child is
        // still waited for.
        fds_[0].fd = fds_[1].fd = -1;
        continue;
      }
      for (int i = 0; i < 2; ++i) {
        if (fds_[i].fd >= 0 && fds_[i].revents != 0) drainAvailable(i, texts[i]);
      }
      if (!expired_ && ((out && out->exceeded()) || (err && err->exceeded()))) {
        limits_->outputExceeded = true;
        killChild();
      }
      if (!ended) {
        CollectEndedChildren(pid_);
        ended = collectChild(status);
        if (ended) lateEnd = Clock::now() + std::chrono::milliseconds(kLateOutputMillis);
      }
      if (ended) closeChildDescriptor();
    }
    return status;
  }
  // Whether pipe i (0 output, 1 error output) was left open by programs
  // that still run.
  bool openAt(int i) const { return fds_[i].fd >= 0; }
  ~CaptureLoop() { closeChildDescriptor(); }
  CaptureLoop(const CaptureLoop&) = delete;
  CaptureLoop& operator=(const CaptureLoop&) = delete;

 private:
  typedef std::chrono::steady_clock Clock;

  void closeChildDescriptor() {
    if (fds_[2].fd >= 0) close(fds_[2].fd);
    fds_[2].fd = -1;
  }

  // Reads what is waiting on one pipe; end of file or a read error ends
  // the reading of that pipe for good.
  void drainAvailable(int i, CapturedOutput* text) {
    for (int reads = 0; reads < kReadsPerWake; ++reads) {
      int n = drainPipe(fds_[i].fd, text);
      if (n > 0) continue;
      if (n < 0 && (errno == EAGAIN || errno == EWOULDBLOCK || errno == EINTR)) return;
      fds_[i].fd = -1;
      return;
    }
  }

  bool collectChild(int& status) {
    int s = 0;
    pid_t r = waitpid(pid_, &s, WNOHANG);
    if (r == pid_ && (WIFEXITED(s) || WIFSIGNALED(s))) {
      status = s;
      forwarder_.ended(status);
      return true;
    }
    if (r < 0 && errno != EINTR) {
      int error = errno;
      forwarder_.ended(status);
      throw LauncherException("Error waiting for child process: " + SString(std::strerror(error)));
    }
    return false;
  }

  // For the time limit, or for output past its limit.
  void killChild() {
    expired_ = true;
    if (!limits_->outputExceeded) limits_->expired = true;
    kill(limits_->ownProcessGroup ? -pid_ : pid_, SIGKILL);
  }

  pid_t pid_;
  RunLimits* limits_;
  SignalForwarder& forwarder_;
  // The two pipes, then the child's descriptor.
  struct pollfd fds_[3];
  bool limited_ = false;
  bool expired_ = false;
  Clock::time_point deadline_;
};

}  // namespace

int drainPipe(int fd, CapturedOutput* text) {
  CapturedOutput discarded(nullptr);
  ssize_t n = (text ? text : &discarded)->readFrom(fd, kReadSize);
  if (n > 0) {
    for (ssize_t done = 0; done < n; done += kProgressBlock) ProgressTick(1);
    return static_cast<int>(n);
  }
  return n == 0 ? 0 : -1;
}

int runCommand(const SString& command, const CommandOptions& options) {
  // Nothing new is started once the launcher has been asked to end.
  CheckTermination();
  if (options.replaceProcess) return replaceProcessImage(command);
  RunLimits* limits = options.limits;
  if (limits) limits->expired = limits->outputExceeded = false;
  const bool capture = options.capture;
  SString* stdoutText = options.stdoutText;
  SString* stderrText = options.stderrText;

  WorkingDirScope dirScope(options.workingDir);
  CapturePipes pipes;
  if (capture) {
    if (!CapturePipes::create(pipes.outRead, pipes.outWrite) || !CapturePipes::create(pipes.errRead, pipes.errWrite)) {
      throw LauncherException("Couldn't create either stdout or stderr pipe: " + systemError());
    }
  }
  bool ownGroup = limits && limits->ownProcessGroup;
  // Whatever the launcher has buffered belongs before the child's output.
  std::fflush(nullptr);
  // The launcher's handlers stay blocked until the child has its own: a
  // child started with vfork would run them in the launcher's memory.
  ChildSignals signals(ownGroup);
  bool shellFailed = false;
  pid_t pid = startShellChild(command.c_str(), capture ? pipes.outWrite : -1, capture ? pipes.errWrite : -1, ownGroup,
                              signals, &shellFailed);
  if (pid < 0 && shellFailed) {
    // Not a command the shell could not find (127 from the shell itself):
    // the shell never ran, so nothing would say why.
    if (errno == E2BIG)
      throw LauncherException(FormatMessage(MSG_COMMAND_TOO_LONG, fromLong(command.length()).c_str()));
    throw LauncherException(FormatMessage(MSG_SHELL_NOT_STARTED, std::strerror(errno)));
  }
  if (pid < 0) throw LauncherException("Error forking new process: " + systemError());
  // Both sides set the group, so it exists before either side relies on it.
  if (ownGroup) setpgid(pid, pid);
  signals.started();
  SignalForwarder forwarder(pid, ownGroup, signals);
  dirScope.restore();

  int status = 0;
  bool outOpen = false, errOpen = false;
  if (capture) {
    CapturePipes::closeEnd(pipes.outWrite);
    CapturePipes::closeEnd(pipes.errWrite);
    fcntl(pipes.outRead, F_SETFL, fcntl(pipes.outRead, F_GETFL) | O_NONBLOCK);
    fcntl(pipes.errRead, F_SETFL, fcntl(pipes.errRead, F_GETFL) | O_NONBLOCK);
    // The output goes straight into the caller's texts. One text for both
    // streams gets the standard output first and then the error output.
    SString separateErr;
    bool oneText = stderrText && stderrText == stdoutText;
    {
      size_t outputLimit = limits ? limits->outputLimit : 0;
      CapturedOutput out(stdoutText, outputLimit), err(oneText ? &separateErr : stderrText, outputLimit);
      std::unique_ptr<OutputLog> log;
      if (limits && limits->tail > 0) {
        log.reset(new OutputLog(getLogFile()));
        out.streamTo(log.get(), 0, limits->tail);
        err.streamTo(log.get(), 1, limits->tail);
      }
      CaptureLoop loop(pid, pipes.outRead, pipes.errRead, limits, forwarder);
      status = loop.run(&out, &err);
      outOpen = loop.openAt(0);
      errOpen = loop.openAt(1);
    }
    if (oneText) stderrText->append(separateErr);
  } else {
    CaptureLoop loop(pid, -1, -1, limits, forwarder);
    status = loop.run(nullptr, nullptr);
  }
  // The child has ended: when the launcher is to end as well, it ends now,
  // before its caller goes on with the next step. The shell may have ended
  // before the program it started: the files are removed only once nothing
  // the command started runs any more (in its session; within the grace).
  if (TerminationSignal() != 0) EndDescendants(TerminationSignal(), forwarder.deadline(), forwarder.childSession());
  // Programs the command left running keep writing where it wrote.
  if (outOpen || errOpen) HandOverLateOutput(outOpen ? pipes.outRead : -1, errOpen ? pipes.errRead : -1, getLogFile());
  CheckTermination();
  return exitCode(status);
}
