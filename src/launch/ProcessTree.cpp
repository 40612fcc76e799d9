#include "launch/ProcessTree.h"

#include <dirent.h>
#include <fcntl.h>
#include <signal.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <vector>

namespace {

struct ProcessLink {
  pid_t pid;
  pid_t parent;
};

// The parent from /proc/<pid>/stat: "pid (name) state ppid ...". The name
// may hold blanks and parentheses, so the fields are counted from the last
// closing parenthesis.
bool readParent(const char* pidText, pid_t& parent) {
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
    if (readParent(entry->d_name, parent)) links.push_back({static_cast<pid_t>(pid), parent});
  }
  closedir(proc);
  return links;
}

}  // namespace

void SignalProcessTree(pid_t root, int signalNumber) {
  // The whole tree is found before anything is signalled: a process that
  // ends first hands its children to another parent.
  std::vector<ProcessLink> links = allProcesses();
  std::vector<pid_t> tree{root};
  // The listing is not one snapshot (a pid can be reused while it is read),
  // so the tree is bounded by the number of processes seen.
  for (size_t next = 0; next < tree.size() && tree.size() <= links.size(); ++next) {
    for (const ProcessLink& link : links) {
      if (link.parent == tree[next]) tree.push_back(link.pid);
    }
  }
  for (pid_t pid : tree) kill(pid, signalNumber);
}
