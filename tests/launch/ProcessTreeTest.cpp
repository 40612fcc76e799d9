#include <gtest/gtest.h>
#include <poll.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <string>

#include "launch/ProcessTree.h"
#include "support/Processes.h"
#include "support/TempDir.h"

namespace {

pid_t startShell(const std::string& command) {
  pid_t pid = fork();
  if (pid == 0) {
    execl("/bin/sh", "sh", "-c", command.c_str(), static_cast<char*>(nullptr));
    _exit(127);
  }
  return pid;
}

}  // namespace

TEST(ProcessTree, SignalsTheRootAndEverythingBelowItAndNothingElse) {
  TempDir dir;
  // root -> sleep (a), root -> sh -> sleep (b); a bystander beside them.
  pid_t bystander = startShell("exec sleep 60");
  pid_t root = startShell("sleep 60 & echo $! > '" + dir.file("a") + "'; sh -c 'sleep 60 & echo $! > \"" +
                          dir.file("b") + "\"; wait' & wait");
  std::string a = WaitForLine(dir.file("a"));
  std::string b = WaitForLine(dir.file("b"));
  ASSERT_FALSE(a.empty());
  ASSERT_FALSE(b.empty());

  SignalProcessTree(root, SIGTERM);
  int status = 0;
  ASSERT_EQ(root, waitpid(root, &status, 0));
  EXPECT_TRUE(WIFSIGNALED(status) && WTERMSIG(status) == SIGTERM);
  EXPECT_TRUE(EndsSoon(a));
  EXPECT_TRUE(EndsSoon(b));

  EXPECT_EQ(0, waitpid(bystander, &status, WNOHANG)) << "the bystander was signalled too";
  kill(bystander, SIGKILL);
  waitpid(bystander, &status, 0);
}

// The shell that ran a command may end before the programs it started. The
// launcher adopts them, passes the signal on to each and kills those that
// will not end after the grace: nothing of the command runs when
// EndDescendants returns.
TEST(ProcessTree, EndDescendantsLeavesNothingOfTheCommandRunning) {
  TempDir dir;
  int status = InForkedProcess([&] {
    AdoptOrphanedDescendants();
    // Both programs outlive their shell: one ends on SIGTERM, the other
    // ignores it.
    std::string command = "sleep 60 & echo $! > '" + dir.file("ends") + "'; sh -c 'trap \"\" TERM; echo $$ > \"" +
                          dir.file("stays") + "\"; while :; do sleep 0.1; done' & exit 0";
    pid_t shell = startShell(command);
    int shellStatus = 0;
    if (waitpid(shell, &shellStatus, 0) != shell) return 10;
    std::string ends = WaitForLine(dir.file("ends"));
    std::string stays = WaitForLine(dir.file("stays"));
    if (ends.empty() || stays.empty()) return 11;
    EndDescendants(SIGTERM, MonotonicMillis() + 1000);
    int result = 0;
    for (const std::string& pid : {ends, stays}) {
      if (kill(std::stoi(pid), 0) == 0) {
        result = 12;  // still there, even as a zombie
        kill(std::stoi(pid), SIGKILL);
      }
    }
    return result;
  });
  EXPECT_EQ(0, status) << "10/11: the command did not start as meant, 12: a program still runs";
}

namespace {

// A child that writes a byte to the pipe reports for every SIGTERM it gets,
// in the launcher's process group or (ownGroup) in one of its own. Returns
// once it is ready: it writes a first byte then.
pid_t startCounter(const int reports[2], bool ownGroup) {
  pid_t pid = fork();
  if (pid == 0) {
    static int reportFd;
    reportFd = reports[1];
    if (ownGroup) setpgid(0, 0);
    signal(SIGTERM, [](int) { (void)!write(reportFd, "T", 1); });
    (void)!write(reportFd, "R", 1);
    for (;;) pause();
  }
  if (ownGroup) setpgid(pid, pid);
  char ready;
  struct pollfd reader = {reports[0], POLLIN, 0};
  if (poll(&reader, 1, 60000) != 1 || read(reports[0], &ready, 1) != 1) return -1;
  return pid;
}

// The SIGTERMs a counter reported: waits up to waitMillis for the first,
// then takes what is there.
int deliveries(int reports, int waitMillis) {
  int count = 0;
  struct pollfd reader = {reports, POLLIN, 0};
  while (poll(&reader, 1, count == 0 ? waitMillis : 0) == 1) {
    char byte;
    if (read(reports, &byte, 1) != 1) break;
    ++count;
  }
  return count;
}

}  // namespace

// A wizard that handles the signal to end (asks whether to quit) would take
// a second one for a second request. Its processes in the launcher's
// process group have the signal already when the group was sent it; one in
// a group of its own does not.
TEST(ProcessTree, EachProcessGetsTheSignalOnce) {
  int status = InForkedProcess([] {
    setpgid(0, 0);
    int inGroup[2], outside[2];
    if (pipe(inGroup) != 0 || pipe(outside) != 0) return 10;
    pid_t root = startCounter(inGroup, false);
    pid_t own = startCounter(outside, true);
    if (root < 0 || own < 0) return 11;
    SignalledProcesses signalled;
    SignalProcessTree(root, SIGTERM, &signalled, true);
    if (deliveries(outside[0], 60000) != 1) return 1;
    SignalProcessTree(root, SIGTERM, &signalled);
    // Both are killed when the grace is over: what they reported is there.
    EndDescendants(SIGTERM, MonotonicMillis() + 1000, 0, &signalled);
    if (deliveries(inGroup[0], 0) != 0) return 2;
    if (deliveries(outside[0], 0) != 0) return 3;
    return kill(own, 0) == 0 ? 4 : 0;
  });
  EXPECT_EQ(0, status) << "1: the process outside the group did not get it, 2: the one in the group got it, 3: the "
                          "one outside got it twice, 4: not ended";
}
