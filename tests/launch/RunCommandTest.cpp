#include <fcntl.h>
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/mman.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/syscall.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <climits>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <functional>
#include <string>
#include <vector>

#include "base/LauncherException.h"
#include "base/Log.h"
#include "launch/RunCommand.h"
#include "support/DeniedSystemCall.h"
#include "support/Processes.h"
#include "support/TempDir.h"
#include "support/Thrown.h"

namespace {

std::string currentDir() {
  char buf[PATH_MAX];
  return getcwd(buf, sizeof buf) ? buf : "";
}

int runCaptured(const char* command, SString& out, SString& err, RunLimits* limits = nullptr) {
  return runCommand(command, CommandOptions().captureInto(&out, &err).limitedBy(limits));
}

// Points descriptor fd at a file, so that what the forked copy writes there
// can be read afterwards.
void redirectTo(int fd, const std::string& path) {
  FILE* f = std::fopen(path.c_str(), "w");
  dup2(fileno(f), fd);
  std::fclose(f);
}

}  // namespace

TEST(RunCommand, ReturnsTheExitCode) {
  const struct {
    const char* command;
    int capture;
    int want;
  } cases[] = {
      {"exit 3", 0, 3},
      {"exit 3", 1, 3},
      {"true", 1, 0},
      // Killed by a signal: 128 + its number, as the shell reports it, never
      // the 0 of success.
      {"kill -9 $$", 0, 128 + SIGKILL},
      {"kill -9 $$", 1, 128 + SIGKILL},
      {"kill -SEGV $$", 1, 128 + SIGSEGV},
      {"no-such-command-here 2>/dev/null", 0, 127},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.command);
    SString out, err;
    CommandOptions options;
    if (c.capture) options.captureInto(&out, &err);
    EXPECT_EQ(c.want, runCommand(c.command, options));
  }
}

TEST(RunCommand, CaptureAppendsBothStreams) {
  SString out("before|"), err("earlier|");
  EXPECT_EQ(0, runCaptured("echo hello; echo oops 1>&2", out, err));
  EXPECT_EQ(SString("before|hello\n"), out);
  EXPECT_EQ(SString("earlier|oops\n"), err);
}

TEST(RunCommand, CapturesMoreThanAPipeHoldsOnBothStreamsAtOnce) {
  SString out, err;
  int rc = runCaptured("(yes e | head -c 300000) >&2 & yes o | head -c 1048576; wait; printf end", out, err);
  EXPECT_EQ(0, rc);
  std::string lines;
  for (int i = 0; i < 1048576 / 2; ++i) lines += "o\n";
  EXPECT_TRUE(SString((lines + "end").c_str()) == out);
  EXPECT_EQ(300000u, err.length());
}

TEST(RunCommand, WithoutTextsTheOutputIsDiscarded) {
  EXPECT_EQ(5, runCommand("echo gone; echo gone >&2; exit 5", CommandOptions().captureInto(nullptr, nullptr)));
}

TEST(RunCommand, RunsInTheWorkingDirectoryAndStaysInItsOwn) {
  TempDir dir;
  std::string before = currentDir();
  SString out, err;
  EXPECT_EQ(0, runCommand("pwd -P", CommandOptions().inDirectory(dir.path().c_str()).captureInto(&out, &err)));
  char real[PATH_MAX];
  ASSERT_NE(nullptr, realpath(dir.path().c_str(), real));
  EXPECT_EQ(std::string(real) + "\n", out.c_str());
  EXPECT_EQ(before, currentDir());
}

TEST(RunCommand, MissingWorkingDirectoryStartsNothing) {
  TempDir dir;
  std::string missing = dir.file("no/such/dir");
  std::string marker = dir.file("started");
  std::string before = currentDir();
  std::string command = "touch '" + marker + "'";
  EXPECT_EQ("Error setting working directory: " + missing + " No such file or directory", ThrownBy([&] {
              runCommand(command.c_str(), CommandOptions().inDirectory(missing.c_str()).captureInto(nullptr, nullptr));
            }));
  EXPECT_FALSE(std::ifstream(marker).good());
  EXPECT_EQ(before, currentDir());
}

// However a run ends, it gives back every descriptor it opened: the capture
// pipes, the child's descriptor, the way back from a working directory and
// the log its output streams to.
TEST(RunCommand, GivesBackEveryDescriptorItOpened) {
  TempDir dir;
  setLogFile(dir.file("log").c_str());
  const std::string workingDir = dir.path();
  const struct {
    const char* what;
    const char* command;
    bool capture;
    const char* workingDir;
    int timeoutSeconds;
    size_t tail;
    bool throws;
  } cases[] = {
      {"plain", "exit 2", false, "", 0, 0, false},
      {"captured", "echo out; echo err >&2", true, "", 0, 0, false},
      {"streamed to the log", "echo out; echo err >&2", true, "", 0, 100, false},
      {"in a working directory", "pwd", true, workingDir.c_str(), 0, 0, false},
      {"missing working directory", "true", true, "/no/such/dir", 0, 0, true},
      {"past its time limit", "echo started; sleep 30", true, "", 1, 0, false},
      {"output left to a program still running", "echo begun; sleep 1 &", true, "", 0, 100, false},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    const int before = OpenDescriptorCount();
    ASSERT_GT(before, 0);
    RunLimits limits;
    limits.timeoutSeconds = c.timeoutSeconds;
    limits.ownProcessGroup = c.timeoutSeconds > 0;
    limits.tail = c.tail;
    SString out, err;
    CommandOptions options = CommandOptions().inDirectory(c.workingDir).limitedBy(&limits);
    if (c.capture) options.captureInto(&out, &err);
    EXPECT_EQ(c.throws, ThrownBy([&] { runCommand(c.command, options); }) != "(nothing thrown)");
    EXPECT_EQ(before, OpenDescriptorCount());
  }
  setLogFile("");
  EXPECT_NE(std::string::npos, ReadFile(dir.file("log")).find("begun")) << "the streamed run wrote no log";
}

TEST(RunCommand, PipeFailureIsReported) {
  TempDir dir;
  std::string errFile = dir.file("stderr");
  int status = InForkedProcess([&] {
    redirectTo(2, errFile);
    // Every descriptor but one in use: a pipe needs two.
    struct rlimit few = {64, 64};
    setrlimit(RLIMIT_NOFILE, &few);
    std::vector<int> filler;
    for (int fd; (fd = open("/dev/null", O_RDONLY)) >= 0;) filler.push_back(fd);
    close(filler.back());
    filler.pop_back();
    std::string message;
    try {
      runCommand("true", CommandOptions().captureInto(nullptr, nullptr));
    } catch (const LauncherException& e) {
      for (int fd : filler) close(fd);
      message = e.getMessage().c_str();
    }
    ssize_t written = write(2, message.data(), message.size());
    return written == static_cast<ssize_t>(message.size()) ? 0 : 1;
  });
  EXPECT_EQ(0, status);
  EXPECT_EQ("Couldn't create either stdout or stderr pipe: Too many open files", ReadFile(errFile));
}

TEST(RunCommand, ChildCollectedElsewhere) {
  // With SIGCHLD ignored (which the launcher undoes at its start) the system
  // collects ended children itself: the child's status is lost, and the
  // wait fails with a message rather than report a status the child never
  // had, captured or not.
  TempDir dir;
  std::string resultFile = dir.file("result");
  int status = InForkedProcess([&] {
    signal(SIGCHLD, SIG_IGN);
    std::string plain = ThrownBy([] { runCommand("exit 3"); });
    std::string captured = ThrownBy([] {
      SString out, err;
      runCommand("echo seen; exit 3", CommandOptions().captureInto(&out, &err));
    });
    std::ofstream(resultFile) << plain << "|" << captured;
    return 0;
  });
  EXPECT_EQ(0, status);
  EXPECT_EQ("Error waiting for child process: No child processes|Error waiting for child process: No child processes",
            ReadFile(resultFile));
}

TEST(RunCommand, ReplacesTheProcessImage) {
  int status = InForkedProcess([] {
    runCommand("/bin/sh -c \"exit 7\"", CommandOptions().inDirectory("/no/such/dir").replacingTheLauncher());
    return 50;  // only reached when the image was not replaced
  });
  EXPECT_EQ(7, status);
}

TEST(RunCommand, FailedReplacementReturnsZero) {
  EXPECT_EQ(0, runCommand("/no/such/program arg", CommandOptions().replacingTheLauncher()));
  EXPECT_EQ(0, runCommand("   ", CommandOptions().replacingTheLauncher()));
}

// A file that is no program is not handed to the shell as a script, as
// execvp would: the replacement fails and the caller learns why.
TEST(RunCommand, AReplacementThatIsNoProgramFailsWithItsReason) {
  TempDir dir;
  std::string notAProgram = dir.write("garbage", "touch '" + dir.file("ran") + "'\n");
  ASSERT_EQ(0, chmod(notAProgram.c_str(), 0700));
  errno = 0;
  EXPECT_EQ(0, runCommand(("\"" + notAProgram + "\" x").c_str(), CommandOptions().replacingTheLauncher()));
  EXPECT_EQ(ENOEXEC, errno);
  EXPECT_FALSE(std::ifstream(dir.file("ran")).good()) << "the file was run as a shell script";
}

// A command line longer than one argument of the shell may be never
// reaches the shell; it is reported, not left to a silent 127.
TEST(RunCommand, ACommandLongerThanTheSystemTakesIsReportedAndNotRun) {
  // The catalogue's English text, whatever locale the tests started in.
  unsetenv("LC_ALL");
  unsetenv("LC_MESSAGES");
  setenv("LANG", "C", 1);
  TempDir dir;
  std::string command = "touch '" + dir.file("ran") + "'; : " + std::string(200000, 'a');
  SString out, err;
  EXPECT_EQ("The command to run is " + std::to_string(command.size()) +
                " bytes long, more than this system allows for a command line. Nothing was run.",
            ThrownBy([&] { runCaptured(command.c_str(), out, err); }));
  EXPECT_EQ("The command to run is " + std::to_string(command.size()) +
                " bytes long, more than this system allows for a command line. Nothing was run.",
            ThrownBy([&] { runCommand(command.c_str()); }));
  EXPECT_FALSE(std::ifstream(dir.file("ran")).good());
}

TEST(RunCommand, TimeLimitKillsTheWholeProcessGroup) {
  TempDir dir;
  std::string pidFile = dir.file("pid");
  for (int capture = 0; capture <= 1; ++capture) {
    SCOPED_TRACE(capture);
    std::string command = std::string(capture ? "" : "exec >/dev/null; ") + "sleep 30 & echo $! > '" + pidFile +
                          "'; echo started; sleep 30";
    RunLimits limits;
    limits.timeoutSeconds = 1;
    limits.ownProcessGroup = true;
    SString out, err;
    CommandOptions options = CommandOptions().limitedBy(&limits);
    if (capture) options.captureInto(&out, &err);
    int rc = runCommand(command.c_str(), options);
    EXPECT_TRUE(limits.expired);
    EXPECT_EQ(128 + SIGKILL, rc);
    if (capture) {
      EXPECT_EQ(SString("started\n"), out);
    }
    // The background sleep was in the group too: it ends (or waits as a
    // zombie for its new parent) once the signal reaches it.
    std::string background = ReadFile(pidFile);
    ASSERT_FALSE(background.empty());
    background.pop_back();
    EXPECT_TRUE(EndsSoon(background)) << ReadFile("/proc/" + background + "/stat");
  }
}

TEST(RunCommand, ChildWithinItsTimeLimitEndsNormally) {
  RunLimits limits;
  limits.timeoutSeconds = 30;
  limits.ownProcessGroup = true;
  limits.expired = true;  // an earlier run's result must not stick
  SString out, err;
  EXPECT_EQ(4, runCaptured("echo fine; exit 4", out, err, &limits));
  EXPECT_FALSE(limits.expired);
  EXPECT_EQ(SString("fine\n"), out);
}

TEST(RunCommand, PlainRunStaysInTheLaunchersProcessGroup) {
  SString out, err;
  runCaptured("cut -d' ' -f5 /proc/$$/stat", out, err);
  EXPECT_EQ(static_cast<long>(getpgrp()), std::atol(out.c_str()));
  RunLimits limits;
  limits.ownProcessGroup = true;
  out = "";
  runCaptured("cut -d' ' -f5 /proc/$$/stat", out, err, &limits);
  EXPECT_NE(static_cast<long>(getpgrp()), std::atol(out.c_str()));
}

TEST(RunCommand, OneTextForBothStreamsGetsTheOutputThenTheErrors) {
  SString both("start|");
  EXPECT_EQ(0, runCommand("echo err1 >&2; echo out1; sleep 0.05; echo err2 >&2; echo out2",
                          CommandOptions().captureInto(&both, &both)));
  EXPECT_EQ(SString("start|out1\nout2\nerr1\nerr2\n"), both);
}

// The calls younger than the oldest kernels the launcher runs on, and the
// requests that only make it faster, answer as such a kernel or a
// container's filter would: the children's status and output stay the
// same. The output is large enough to fill a buffer that is a mapping of
// its own and grows by remapping.
TEST(RunCommand, NewerSystemCallsRefusedChangeNothing) {
#ifndef MADV_POPULATE_WRITE
  const int MADV_POPULATE_WRITE = 23;
#endif
  const int kLines = 6 * 1024 * 1024;
  for (int answer : {ENOSYS, EPERM, EINVAL}) {
    SCOPED_TRACE(answer);
    int status = InForkedProcess([&] {
      if (!DenySystemCall(SYS_pidfd_open, answer) || !DenySystemCall(SYS_mremap, answer) ||
          !DenySystemCallWhen(SYS_fcntl, 1, F_SETPIPE_SZ, answer) ||
          !DenySystemCallWhen(SYS_madvise, 2, MADV_POPULATE_WRITE, answer) ||
          !DenySystemCallWhen(SYS_madvise, 2, MADV_HUGEPAGE, answer)) {
        return 2;
      }
      SString out, err;
      int captured = runCaptured("yes o | head -n 6291456; echo oops >&2; exit 3", out, err);
      if (captured != 3 || err != SString("oops\n") || out.length() != 2u * kLines) return 10;
      for (SString::size_type i = 0; i < out.length(); i += 2) {
        if (out[i] != 'o' || out[i + 1] != '\n') return 11;
      }
      if (runCommand("exit 4") != 4) return 12;
      RunLimits limits;
      limits.timeoutSeconds = 60;
      if (runCommand("exit 5", CommandOptions().limitedBy(&limits)) != 5 || limits.expired) return 13;
      return 0;
    });
    EXPECT_NE(2, status) << "this system does not let a process filter its system calls";
    EXPECT_EQ(0, status) << "10: captured run, 11: captured text, 12: plain wait, 13: limited wait";
  }
}
