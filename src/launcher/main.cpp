// The launcher program: turns the process arguments into the controller's
// argument list, finds its own executable (the archive is read from it) and
// returns the run's result as the exit status. Around the run it owns what
// concerns the whole process: the signal handlers and the adoption of
// orphaned descendants, taken up before anything starts a child; a
// hand-over from the launcher that started this one; the keeper of late
// output, which is a copy of this program started anew; the report of memory
// running out; the dialog that shows a failure when no terminal does; and
// the status of a run that a signal ended (128 + the signal).
#include <unistd.h>

#include <cstdlib>
#include <cstring>
#include <exception>
#include <new>

#include "base/Deque.h"
#include "base/Log.h"
#include "base/Termination.h"
#include "launch/LateOutput.h"
#include "launch/ProcessTree.h"
#include "launcher/Controller.h"
#include "launcher/ExecutablePath.h"
#include "launcher/FailureDialog.h"
#include "launcher/HandOver.h"
#include "launcher/Launcher.h"
#include "launcher/Settings.h"
#include "messages/Messages.h"

// The C++ runtime's own handler for std::terminate names the type of the
// exception through the runtime's demangler, which is some 40 KB of this
// static program for a message that only a fault of the launcher would
// ever bring. This one says what it can without it, and aborts as that one
// does.
namespace __gnu_cxx {
void __verbose_terminate_handler() {
  static const char kText[] = "terminate called: the launcher stopped on an internal error";
  if (write(STDERR_FILENO, kText, sizeof kText - 1) < 0) {
    // Nothing is left to tell it with.
  }
  if (std::current_exception()) {
    try {
      throw;
    } catch (const std::exception& e) {
      if (write(STDERR_FILENO, ": ", 2) < 0 || write(STDERR_FILENO, e.what(), std::strlen(e.what())) < 0) {
        // As above.
      }
    } catch (...) {
    }
  }
  if (write(STDERR_FILENO, "\n", 1) < 0) {
    // As above.
  }
  std::abort();
}
}  // namespace __gnu_cxx

namespace {

// The message, and the status of a failed run (-1 as the shell sees it).
int reportOutOfMemory() {
  try {
    SString message = FormatMessage(MSG_OUT_OF_MEMORY, nullptr);
    PrintMessage(message);
    log(message, ERROR);
  } catch (const std::bad_alloc&) {
    static const char kText[] = "Out of memory.\n";
    if (write(STDOUT_FILENO, kText, sizeof kText - 1) < 0) {
      // Nothing is left to tell it with.
    }
  }
  return 255;
}

}  // namespace

int main(int argc, char** argv) {
  // A copy of this program may be started to keep the output of programs a
  // wizard left running; it does nothing else.
  KeepLateOutputWhenStartedAsKeeper(argc, argv);
  InstallTerminationHandlers();
  AdoptOrphanedDescendants();
  ReceiveHandOver();
  StringDeque args;
  for (int i = 1; i < argc; ++i) args.add(argv[i]);
  SString executable = AbsoluteExecutablePath(argc > 0 ? argv[0] : "");
  settings().runningFile = RunningExecutableFile();

  int result;
  SString failure;
  try {
    // The controller's destruction is the exit clean-up: temporary files go,
    // and so does the program itself when it was started as an embedded
    // launcher.
    Launcher launcher;
    result = launcher.start(args, executable);
    if (result != 0 && !controller().childErrorOutput().empty()) PrintMessage(controller().childErrorOutput());
    failure = launcher.failureForUser();
  } catch (const std::bad_alloc&) {
    // Memory ran out somewhere: the clean-up has run while the exception
    // left the controller, and what the failing step held is free again.
    result = reportOutOfMemory();
  }
  // Shown once the files are cleaned up, as the user may leave the dialog
  // open for a while; not when a signal has asked the launcher to end.
  if (!failure.empty() && TerminationSignal() == 0) showFailureDialog(failure);
  // A signal that came after the last check point, during the clean-up or
  // while the dialog was open for instance, still decides how the launcher
  // ends.
  if (TerminationSignal() != 0) result = 128 + TerminationSignal();
  return result;
}
