#include <gtest/gtest.h>
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
