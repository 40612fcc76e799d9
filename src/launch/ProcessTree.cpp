#include "launch/ProcessTree.h"

#include <dirent.h>
#include <fcntl.h>
#include <signal.h>
#include <sys/prctl.h>
#include <sys/wait.h>
#include <time.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <vector>

namespace {

struct ProcessLink {
  pid_t pid;
  pid_t parent;
  bool ended;  // a zombie: it runs no more and holds no file open
};

// The parent from /proc/<pid>/stat: "pid (name) state ppid ...". The name
// may hold blanks and parentheses, so the fields are counted from the last
// closing parenthesis.
bool readParent(const char* pidText, pid_t& parent, bool& ended) {
  // Room for any directory entry name, though a process's is a number.
  char path[sizeof "/proc//stat" + 256];
  std::snprintf(path, sizeof path, "/proc/%s/stat", pidText);
  int fd = open(path, O_RDONLY | O_CLOEXEC);
  if (fd < 0) return false;
  char stat[512];
  ssize_t n = read(fd, stat, sizeof stat - 1);
  close(fd);
  if (n <= 0) return false;
  stat[n] = '\0';
  const char* nameEnd = std::strrchr(stat, ')');
  if (!nameEnd || nameEnd[1] != ' ' || nameEnd[2] == '\0' || nameEnd[3] != ' ') return false;
  parent = static_cast<pid_t>(std::strtol(nameEnd + 4, nullptr, 10));
  ended = nameEnd[2] == 'Z' || nameEnd[2] == 'X';
  return true;
}

std::vector<ProcessLink> allProcesses() {
  std::vector<ProcessLink> links;
  DIR* proc = opendir("/proc");
  if (!proc) return links;
  while (struct dirent* entry = readdir(proc)) {
    char* end = nullptr;
    long pid = std::strtol(entry->d_name, &end, 10);
    if (pid <= 0 || *end != '\0') continue;
    pid_t parent = 0;
    bool ended = false;
    if (readParent(entry->d_name, parent, ended)) links.push_back({static_cast<pid_t>(pid), parent, ended});
  }
  closedir(proc);
  return links;
}

// root and every process below it, as /proc shows them now. The whole tree
// is found before anything is signalled: a process that ends first hands
// its children to another parent.
std::vector<pid_t> processTree(pid_t root, bool withEnded) {
  std::vector<ProcessLink> links = allProcesses();
  std::vector<pid_t> tree{root};
  // The listing is not one snapshot (a pid can be reused while it is read),
  // so the tree is bounded by the number of processes seen.
  for (size_t next = 0; next < tree.size() && tree.size() <= links.size(); ++next) {
    for (const ProcessLink& link : links) {
      if (link.parent == tree[next] && (withEnded || !link.ended)) tree.push_back(link.pid);
    }
  }
  return tree;
}

void pause(long millis) {
  struct timespec delay = {millis / 1000, (millis % 1000) * 1000000L};
  nanosleep(&delay, nullptr);
}

}  // namespace

void SignalProcessTree(pid_t root, int signalNumber) {
  for (pid_t pid : processTree(root, true)) kill(pid, signalNumber);
}

void AdoptOrphanedDescendants() { prctl(PR_SET_CHILD_SUBREAPER, 1, 0, 0, 0); }

void EndDescendants(int signalNumber, int graceSeconds) {
  const long kPauseMillis = 20;
  const long kAfterKillMillis = 5000;
  const long graceMillis = graceSeconds * 1000L;
  std::vector<pid_t> signalled;
  for (long waited = 0; waited < graceMillis + kAfterKillMillis; waited += kPauseMillis) {
    // Descendants that ended and came to the launcher are collected here;
    // the others are collected by their own parents.
    while (waitpid(-1, nullptr, WNOHANG) > 0) {
    }
    std::vector<pid_t> tree = processTree(getpid(), false);
    tree.erase(tree.begin());  // the launcher itself
    if (tree.empty()) return;
    for (pid_t pid : tree) {
      if (waited >= graceMillis) {
        kill(pid, SIGKILL);
      } else if (std::find(signalled.begin(), signalled.end(), pid) == signalled.end()) {
        // Also those started after the signal was first passed on.
        kill(pid, signalNumber);
        signalled.push_back(pid);
      }
    }
    pause(kPauseMillis);
  }
}
