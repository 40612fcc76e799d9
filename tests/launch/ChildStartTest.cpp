#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <string>

#include "launch/ChildStart.h"
#include "support/Processes.h"
#include "support/TempDir.h"

namespace {

struct Pipe {
  int ends[2] = {-1, -1};
  Pipe() { EXPECT_EQ(0, pipe(ends)); }
  ~Pipe() {
    closeWriteEnd();
    close(ends[0]);
  }
  void closeWriteEnd() {
    if (ends[1] >= 0) close(ends[1]);
    ends[1] = -1;
  }
  std::string readAll() {
    closeWriteEnd();
    std::string text;
    char buf[256];
    for (ssize_t n; (n = read(ends[0], buf, sizeof buf)) > 0;) text.append(buf, static_cast<size_t>(n));
    return text;
  }
};

int waitFor(pid_t pid) {
  int status = 0;
  EXPECT_EQ(pid, waitpid(pid, &status, 0));
  return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

}  // namespace

TEST(ChildStart, TheShellRunsWithBothStreamsRedirected) {
  Pipe out, err;
  ChildSignals signals(false);
  pid_t pid = startShellChild("echo to-out; echo to-err >&2; exit 7", out.ends[1], err.ends[1], false, signals);
  ASSERT_GT(pid, 0);
  signals.started();
  EXPECT_EQ("to-out\n", out.readAll());
  EXPECT_EQ("to-err\n", err.readAll());
  EXPECT_EQ(7, waitFor(pid));
  signals.ended(7 << 8);
}

TEST(ChildStart, AnOwnProcessGroupIsLedByTheChild) {
  Pipe out;
  ChildSignals signals(true);
  // The fifth field of the shell's stat line is its process group.
  pid_t pid = startShellChild("echo $$ $(cut -d' ' -f5 /proc/$$/stat)", out.ends[1], -1, true, signals);
  ASSERT_GT(pid, 0);
  signals.started();
  std::string id = std::to_string(pid);
  EXPECT_EQ(id + " " + id + "\n", out.readAll());
  waitFor(pid);
  signals.ended(0);
}

// A redirection that fails leaves the child with the launcher's standard
// error: the reason goes there, the command never runs, and the child ends
// with 1 instead of going back into the launcher's code.
TEST(ChildStart, AFailedRedirectionIsReportedAndEndsTheChild) {
  const int notOpen = 1000, open = -2, none = -1;
  struct Case {
    int outFd, errFd;
  } cases[] = {{notOpen, none}, {none, notOpen}, {open, notOpen}, {notOpen, open}};
  for (const Case& c : cases) {
    TempDir dir;
    std::string errFile = dir.file("stderr"), ranFile = dir.file("ran");
    Pipe spare;
    int status = InForkedProcess([&]() -> int {
      FILE* f = std::fopen(errFile.c_str(), "w");
      dup2(fileno(f), 2);
      std::fclose(f);
      ChildSignals signals(false);
      execShellInChild(("echo ran > '" + ranFile + "'").c_str(), c.outFd == open ? spare.ends[1] : c.outFd,
                       c.errFd == open ? spare.ends[1] : c.errFd, false, signals);
    });
    EXPECT_EQ(1, status) << c.outFd << " " << c.errFd;
    EXPECT_EQ("Error capturing stdout or stderr in new process: Bad file descriptor\n", ReadFile(errFile));
    EXPECT_EQ("", ReadFile(ranFile));
  }
}
