#include <gtest/gtest.h>
#include <signal.h>

#include "base/Termination.h"
#include "support/Processes.h"

// The handlers and the noted signal are process-wide, so every case runs in
// a forked copy of the test process.

TEST(Termination, EachHandledSignalEndsWith128PlusItsNumber) {
  for (int signalNumber : {SIGHUP, SIGINT, SIGQUIT, SIGTERM}) {
    SCOPED_TRACE(signalNumber);
    int status = InForkedProcess([signalNumber] {
      InstallTerminationHandlers();
      CheckTermination();  // nothing noted yet: no throw
      raise(signalNumber);
      if (TerminationSignal() != signalNumber) return 1;
      try {
        CheckTermination();
      } catch (const TerminationRequest& request) {
        return request.exitStatus();
      }
      return 2;
    });
    // Without the handler the signal would have killed the copy.
    EXPECT_EQ(128 + signalNumber, status);
  }
}

TEST(Termination, TheFirstSignalCounts) {
  int status = InForkedProcess([] {
    InstallTerminationHandlers();
    raise(SIGHUP);
    raise(SIGTERM);
    RequestTermination(SIGINT);
    return TerminationSignal();
  });
  EXPECT_EQ(SIGHUP, status);
}

TEST(Termination, ASignalIgnoredAtStartStaysIgnored) {
  // nohup, or a background job of a script, starts the launcher with these
  // ignored: the user asked for them to have no effect.
  int status = InForkedProcess([] {
    signal(SIGHUP, SIG_IGN);
    signal(SIGINT, SIG_IGN);
    InstallTerminationHandlers();
    raise(SIGHUP);
    raise(SIGINT);
    struct sigaction hangUp;
    sigaction(SIGHUP, nullptr, &hangUp);
    if (hangUp.sa_handler != SIG_IGN) return 1;
    raise(SIGTERM);  // still handled
    return TerminationSignal();
  });
  EXPECT_EQ(SIGTERM, status);
}
