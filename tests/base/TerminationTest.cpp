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

// A closed console must not kill the launcher before its clean-up, but the
// programs it starts get SIGPIPE as the launcher got it, also a program
// that replaces the launcher.
TEST(Termination, BrokenPipeIsIgnoredByTheLauncherOnlyWhenItWasAtItsDefault) {
  auto disposition = [] {
    struct sigaction current;
    sigaction(SIGPIPE, nullptr, &current);
    return current.sa_handler;
  };
  for (bool ignoredAtStart : {false, true}) {
    SCOPED_TRACE(ignoredAtStart);
    int status = InForkedProcess([&] {
      signal(SIGPIPE, ignoredAtStart ? SIG_IGN : SIG_DFL);
      InstallTerminationHandlers();
      if (disposition() != SIG_IGN) return 1;
      ChildSignals signals(false);
      int childStatus = InForkedProcess([&] {
        signals.prepareChild();
        return disposition() == (ignoredAtStart ? SIG_IGN : SIG_DFL) ? 0 : 1;
      });
      if (childStatus != 0) return 2;
      if (BrokenPipeAsStarted() == ignoredAtStart) return 3;
      if (disposition() != (ignoredAtStart ? SIG_IGN : SIG_DFL)) return 4;
      return 0;
    });
    EXPECT_EQ(0, status) << "1: not ignored by the launcher, 2: the child's, 3/4: back as at the start";
  }
}
