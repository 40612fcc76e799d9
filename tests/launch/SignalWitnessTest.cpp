// Each case runs in a forked copy of the test process that leads a process
// group of its own and installs the launcher's handlers, so it stands in
// for the launcher and its group signals reach nothing else.
#include <gtest/gtest.h>
#include <poll.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>

#include "base/Termination.h"
#include "launch/SignalWitness.h"
#include "support/Processes.h"

namespace {

bool noChildLeft() { return waitpid(-1, nullptr, WNOHANG) == -1 && errno == ECHILD; }

}  // namespace

TEST(SignalWitness, TellsASignalToTheGroupFromOneToTheLauncherAlone) {
  int status = InForkedProcess([] {
    setpgid(0, 0);
    InstallTerminationHandlers();
    SignalWitness witness(true);
    kill(getpid(), SIGHUP);
    if (witness.groupGetsToo(SIGHUP)) return 1;
    kill(0, SIGTERM);
    // The witness keeps it however late the launcher asks.
    usleep(200000);
    if (!witness.groupGetsToo(SIGTERM) || !witness.groupGot(SIGTERM)) return 2;
    if (witness.groupGot(SIGHUP) || witness.groupGot(SIGINT)) return 3;
    return 0;
  });
  EXPECT_EQ(0, status) << "1: a signal to the launcher alone read as one to the group, 2: the group's signal was "
                          "missed, 3: a signal the group never got read as one it got";
}

TEST(SignalWitness, HoldsNoDescriptorAndLeavesNoProcess) {
  int status = InForkedProcess([] {
    {
      // Without the launcher's handlers there is nothing to tell.
      SignalWitness witness(true);
      if (!noChildLeft()) return 1;
    }
    setpgid(0, 0);
    InstallTerminationHandlers();
    int ends[2];
    if (pipe(ends) != 0) return 10;
    SignalWitness witness(true);
    if (noChildLeft()) return 2;
    // A pipe the launcher made before, such as a capture pipe: once the
    // launcher closes its write end, the reader sees the end at once.
    close(ends[1]);
    struct pollfd reader = {ends[0], POLLIN, 0};
    if (poll(&reader, 1, 5000) != 1) return 3;
    witness.end();
    return noChildLeft() ? 0 : 4;
  });
  EXPECT_EQ(0, status) << "1: a witness without handlers, 2: none with them, 3: it held a pipe open, 4: it was left "
                          "behind";
}
