// Capturing a command's output: the pipes it writes into and the reading
// of them while the launcher waits for it.
#pragma once

#include <sys/types.h>

#include <cstdint>

#include "base/OpenFiles.h"

class CapturedOutput;
class SignalForwarder;
struct CommandOptions;

// The two capture pipes. Their descriptors are kept above the three standard
// ones, so the child's redirection can never overwrite one pipe end with the
// other even when the launcher was started with standard streams closed.
struct CapturePipes {
  FileDescriptor outRead, outWrite, errRead, errWrite;

  // Makes both pipes; false with errno set when the system gives none.
  bool create();
};

// What a captured run ends with: the child's wait status, and whether
// programs it left running still hold a pipe open (its read end then stays
// open in the pipes).
struct CaptureEnd {
  int status = 0;
  bool outOpen = false;
  bool errOpen = false;
  // The bytes the output took in the log while the launcher waited.
  uint64_t logWritten = 0;
};

// Waits for the child pid, which holds its own write ends of the pipes,
// while its output goes into the texts options name (see CommandOptions),
// within options' limits.
CaptureEnd waitCapturing(pid_t pid, CapturePipes& pipes, const CommandOptions& options, SignalForwarder& forwarder);

// Reads once from a non-blocking pipe and appends what came to text (when
// given); the progress display moves one step per 4096 bytes begun.
// Returns the byte count, 0 at end of file and -1 when no data is waiting
// or the read failed (errno tells which).
int drainPipe(int fd, CapturedOutput* text);
