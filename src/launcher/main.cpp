// The launcher program: turns the process arguments into the controller's
// argument list, finds its own executable (the archive is read from it) and
// returns the run's result as the exit status.
#include "base/Deque.h"
#include "base/Settings.h"
#include "base/Termination.h"
#include "launch/ProcessTree.h"
#include "launcher/ExecutablePath.h"
#include "launcher/Launcher.h"
#include "messages/Messages.h"

int main(int argc, char** argv) {
  InstallTerminationHandlers();
  AdoptOrphanedDescendants();
  StringDeque args;
  for (int i = 1; i < argc; ++i) args.add(argv[i]);
  SString executable = AbsoluteExecutablePath(argc > 0 ? argv[0] : "");

  int result;
  {
    // The controller's destruction is the exit clean-up: temporary files go,
    // and so does the program itself when it was started as an embedded
    // launcher.
    Launcher launcher;
    result = launcher.start(args, executable);
    if (result != 0 && !settings().childErrorOutput.empty()) PrintMessage(settings().childErrorOutput);
  }
  // A signal that came after the last check point, during the clean-up for
  // instance, still decides how the launcher ends.
  if (TerminationSignal() != 0) result = 128 + TerminationSignal();
  return result;
}
