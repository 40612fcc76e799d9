// How a child process meets the signals that ask the launcher to end. Each
// case runs in a forked copy of the test process, which installs the
// launcher's handlers and so stands in for the launcher.
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/resource.h>
#include <unistd.h>

#include <chrono>
#include <fstream>
#include <string>

#include "base/Termination.h"
#include "launch/RunCommand.h"
#include "support/Processes.h"
#include "support/TempDir.h"

namespace {

// Runs command as the launcher would and returns its exit code, or, when
// the run ended with a TerminationRequest, the launcher's exit status.
int runToEnd(const std::string& command, int capture) {
  try {
    SString out, err;
    CommandOptions options;
    if (capture) options.captureInto(&out, &err);
    return runCommand(command.c_str(), options);
  } catch (const TerminationRequest& request) {
    return request.exitStatus();
  }
}

}  // namespace

TEST(RunCommandSignals, TerminateReachesTheChildAndEverythingItStarted) {
  for (int capture = 0; capture <= 1; ++capture) {
    for (int signalNumber : {SIGTERM, SIGHUP}) {
      SCOPED_TRACE(std::to_string(capture) + " " + std::to_string(signalNumber));
      TempDir dir;
      // The shell's own child sends the signal to the launcher ($PPID of
      // the outer shell) and then sleeps; a background sleep beside it. The
      // shell that runs a command does not always replace itself with it,
      // so the signal has to reach both.
      std::string command = "L=$PPID; sleep 60 & echo $! > '" + dir.file("bg") + "'; sh -c 'echo $$ > \"" +
                            dir.file("fg") + "\"; kill -" + std::to_string(signalNumber) +
                            " '$L'; exec sleep 60'; echo survived > '" + dir.file("after") + "'";
      auto start = std::chrono::steady_clock::now();
      int status = InForkedProcess([&] {
        InstallTerminationHandlers();
        return runToEnd(command, capture);
      });
      EXPECT_EQ(128 + signalNumber, status);
      EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(30));
      EXPECT_TRUE(EndsSoon(WaitForLine(dir.file("bg"))));
      EXPECT_TRUE(EndsSoon(WaitForLine(dir.file("fg"))));
      EXPECT_EQ("", ReadFile(dir.file("after")));
    }
  }
}

TEST(RunCommandSignals, AnInterruptFromTheTerminalIsTheChildsToDecide) {
  // kill -INT 0 reaches the whole process group, as the terminal's Ctrl-C
  // does: the launcher and the child alike.
  const struct {
    const char* command;
    int want;
  } cases[] = {
      // The child catches it and ends on its own terms: the run goes on.
      {"trap 'exit 7' INT; kill -INT 0; sleep 1; exit 1", 7},
      {"trap 'echo later' INT; kill -INT 0; exit 0", 0},
      // The child is killed by it: the launcher ends as well.
      {"kill -INT 0; sleep 30", 128 + SIGINT},
      {"kill -QUIT 0; sleep 30", 128 + SIGQUIT},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.command);
    auto start = std::chrono::steady_clock::now();
    int status = InForkedProcess([&] {
      setpgid(0, 0);  // a group of its own, or the signal would reach the test runner
      struct rlimit noCore = {0, 0};
      setrlimit(RLIMIT_CORE, &noCore);
      InstallTerminationHandlers();
      return runToEnd(c.command, 1);
    });
    EXPECT_EQ(c.want, status);
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(20));
  }
}

TEST(RunCommandSignals, AnInterruptForTheLauncherAloneIsPassedOnForTheChildToDecide) {
  // timeout -s INT, or a kill aimed at the launcher: the child did not get
  // it from the terminal, so the launcher passes it on. A child that
  // catches it decides; one killed by it ends the run.
  const struct {
    const char* command;
    int want;
  } cases[] = {
      {"trap 'exit 4' INT; kill -INT $PPID; sleep 30 & wait", 4},
      // The interrupt comes once the shell has made way for the program
      // (a shell run with -c waits for its program to decide).
      {"(sleep 0.3; kill -INT $PPID) & exec sleep 30", 128 + SIGINT},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.command);
    auto start = std::chrono::steady_clock::now();
    int status = InForkedProcess([&] {
      InstallTerminationHandlers();
      int rc = runToEnd(c.command, 1);
      // A caught interrupt is no request to end the launcher.
      return rc == 4 && TerminationSignal() != 0 ? 1 : rc;
    });
    EXPECT_EQ(c.want, status);
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(20));
  }
}

TEST(RunCommandSignals, AnInterruptReachesAChildInItsOwnGroupThroughTheLauncher) {
  // A verification run has a process group of its own, out of the
  // terminal's reach: the launcher passes the interrupt on and ends.
  TempDir dir;
  std::string command = "trap 'echo got > \"" + dir.file("got") + "\"; exit 3' INT; kill -INT $PPID; sleep 30 & wait";
  auto start = std::chrono::steady_clock::now();
  int status = InForkedProcess([&] {
    InstallTerminationHandlers();
    RunLimits limits;
    limits.ownProcessGroup = true;
    limits.timeoutSeconds = 60;
    SString out, err;
    try {
      runCommand(command.c_str(), CommandOptions().captureInto(&out, &err).limitedBy(&limits));
    } catch (const TerminationRequest& request) {
      return request.exitStatus();
    }
    return 1;
  });
  EXPECT_EQ(128 + SIGINT, status);
  EXPECT_EQ("got\n", ReadFile(dir.file("got")));
  EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(20));
}

TEST(RunCommandSignals, NothingStartsOnceASignalAskedToEnd) {
  TempDir dir;
  std::string command = "touch '" + dir.file("started") + "'";
  for (int replace = 0; replace <= 1; ++replace) {
    SCOPED_TRACE(replace);
    int status = InForkedProcess([&] {
      InstallTerminationHandlers();
      raise(SIGTERM);
      try {
        CommandOptions options = CommandOptions().captureInto(nullptr, nullptr);
        options.replaceProcess = replace;
        runCommand(command.c_str(), options);
      } catch (const TerminationRequest& request) {
        return request.exitStatus();
      }
      return 1;
    });
    EXPECT_EQ(128 + SIGTERM, status);
    EXPECT_FALSE(std::ifstream(dir.file("started")).good());
  }
}

TEST(RunCommandSignals, TheChildStartsWithTheSignalStateTheLauncherFound) {
  // Nothing blocked (the launcher blocks its signals around the fork), and
  // what was ignored at start still ignored.
  int status = InForkedProcess([] {
    signal(SIGHUP, SIG_IGN);
    InstallTerminationHandlers();
    SString out, err;
    // Builtins only, so that the shell's own mask is read.
    int rc = runCommand(
        "kill -HUP $$; while read l; do case $l in SigBlk*) echo \"$l\";; esac; done < /proc/$$/status; "
        "kill -TERM $$; echo not reached",
        CommandOptions().captureInto(&out, &err));
    if (rc != 128 + SIGTERM) return 1;
    if (out != SString("SigBlk:\t0000000000000000\n")) return 2;
    return TerminationSignal() == 0 ? 0 : 3;
  });
  EXPECT_EQ(0, status);
}
