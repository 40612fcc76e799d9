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
