#include "launch/CapturePipes.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>

#include "base/Log.h"
#include "launch/CapturedOutput.h"
#include "launch/ChildWait.h"
#include "launch/OutputLog.h"
#include "launch/RunCommand.h"
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

FileDescriptor liftAboveStandard(int fd) {
  if (fd > 2) return FileDescriptor(fd);
  int lifted = fcntl(fd, F_DUPFD_CLOEXEC, 3);
  int error = errno;
  close(fd);
  errno = error;
  return FileDescriptor(lifted);
}

bool createPipe(FileDescriptor& readEnd, FileDescriptor& writeEnd) {
  int ends[2];
  if (pipe2(ends, O_CLOEXEC) != 0) return false;
  // A wish only: a user over the system's limit for pipe memory keeps the
  // default size.
  (void)fcntl(ends[0], F_SETPIPE_SZ, kCapturePipeSize);
  readEnd = liftAboveStandard(ends[0]);
  writeEnd = liftAboveStandard(ends[1]);
  return readEnd.isOpen() && writeEnd.isOpen();
}

void setNonBlocking(const FileDescriptor& fd) { fcntl(fd.get(), F_SETFL, fcntl(fd.get(), F_GETFL) | O_NONBLOCK); }

}  // namespace

bool CapturePipes::create() { return createPipe(outRead, outWrite) && createPipe(errRead, errWrite); }

CaptureEnd waitCapturing(pid_t pid, CapturePipes& pipes, const CommandOptions& options, SignalForwarder& forwarder) {
  // Only the child writes now, so its end shows as the end of the pipes;
  // reading never blocks.
  pipes.outWrite = FileDescriptor();
  pipes.errWrite = FileDescriptor();
  setNonBlocking(pipes.outRead);
  setNonBlocking(pipes.errRead);
  RunLimits* limits = options.limits;
  // The output goes straight into the caller's texts. One text for both
  // streams gets the standard output first and then the error output.
  SString separateErr;
  bool oneText = options.stderrText && options.stderrText == options.stdoutText;
  CaptureEnd end;
  {
    size_t outputLimit = limits ? limits->outputLimit : 0;
    const bool streamed = limits && limits->tail > 0;
    // The command's own output leaves room in the log for what programs it
    // leaves running print after it.
    OutputLog log(streamed ? OutputLog::openFile(getLogFile()) : FileDescriptor(),
                  kCapturedOutputLogLimit - kLateOutputLogRoom);
    CapturedOutput out(options.stdoutText, outputLimit), err(oneText ? &separateErr : options.stderrText, outputLimit);
    if (streamed) {
      out.streamTo(&log, 0, limits->tail);
      err.streamTo(&log, 1, limits->tail);
    }
    ChildWait wait(pid, pipes.outRead.get(), pipes.errRead.get(), limits, forwarder);
    end.status = wait.run(&out, &err);
    end.outOpen = wait.openAt(0);
    end.errOpen = wait.openAt(1);
    end.logWritten = log.finish();
  }
  if (oneText) options.stderrText->append(separateErr);
  return end;
}

int drainPipe(int fd, CapturedOutput* text) {
  CapturedOutput discarded(nullptr);
  ssize_t n = (text ? text : &discarded)->readFrom(fd, kReadSize);
  if (n > 0) {
    for (ssize_t done = 0; done < n; done += kProgressBlock) ProgressTick(1);
    return static_cast<int>(n);
  }
  return n == 0 ? 0 : -1;
}
