#include "launch/RunCommand.h"

#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <vector>

#include "base/LauncherException.h"
#include "base/Log.h"
#include "base/SystemError.h"
#include "base/Termination.h"
#include "launch/CapturePipes.h"
#include "launch/ChildStart.h"
#include "launch/ChildWait.h"
#include "launch/CommandLineSplitter.h"
#include "launch/LateOutput.h"
#include "launch/OutputLog.h"
#include "launch/ProcessTree.h"
#include "launch/SignalForwarder.h"
#include "launch/SignalWitness.h"
#include "launch/WorkingDirScope.h"
#include "messages/Messages.h"

namespace {

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

// A child killed by a signal did not succeed: it gives 128 + the signal
// number, as the shell reports it, whether the shell ran the program as a
// child of its own or was itself replaced by it.
int exitCode(int status) {
  if (WIFSIGNALED(status)) return 128 + WTERMSIG(status);
  return (status >> 8) & 0xff;
}

}  // namespace

int runCommand(const SString& command, const CommandOptions& options) {
  // Nothing new is started once the launcher has been asked to end.
  CheckTermination();
  if (options.replaceProcess) return replaceProcessImage(command);
  RunLimits* limits = options.limits;
  if (limits) limits->expired = limits->outputExceeded = false;
  const bool capture = options.capture;

  WorkingDirScope dirScope(options.workingDir);
  CapturePipes pipes;
  if (capture && !pipes.create()) {
    throw LauncherException("Couldn't create either stdout or stderr pipe: " + systemError());
  }
  bool ownGroup = limits && limits->ownProcessGroup;
  // Whatever the launcher has buffered belongs before the child's output.
  std::fflush(nullptr);
  // The launcher's handlers stay blocked until the child has its own: a
  // child started with vfork would run them in the launcher's memory.
  ChildSignals signals(ownGroup);
  SignalWitness witness(!ownGroup);
  bool shellFailed = false;
  pid_t pid =
      startShellChild(command.c_str(), pipes.outWrite.get(), pipes.errWrite.get(), ownGroup, signals, &shellFailed);
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
  SignalForwarder forwarder(pid, ownGroup, signals, witness);
  dirScope.restore();

  CaptureEnd end;
  if (capture) {
    end = waitCapturing(pid, pipes, options, forwarder);
  } else {
    ChildWait wait(pid, -1, -1, limits, forwarder);
    end.status = wait.run(nullptr, nullptr);
  }
  // The child has ended: when the launcher is to end as well, it ends now,
  // before its caller goes on with the next step. The shell may have ended
  // before the program it started: the files are removed only once nothing
  // the command started runs any more (in its session; within the grace).
  int ending = TerminationSignal();
  // A child that a signal to the group ended may have been collected
  // before the signal was passed on: its programs had it all the same.
  bool groupGotIt = ending != 0 && witness.groupGot(ending);
  witness.end();
  if (ending != 0)
    EndDescendants(ending, forwarder.deadline(), forwarder.childSession(), &forwarder.signalled(), groupGotIt);
  // Programs the command left running keep writing where it wrote, into
  // what is left of the command's room in the log.
  if (end.outOpen || end.errOpen) {
    HandOverLateOutput(end.outOpen ? pipes.outRead.get() : -1, end.errOpen ? pipes.errRead.get() : -1, getLogFile(),
                       kCapturedOutputLogLimit - end.logWritten);
  }
  CheckTermination();
  return exitCode(end.status);
}
