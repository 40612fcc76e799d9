#include "launch/ProcessTree.h"

#include <dirent.h>
#include <fcntl.h>
#include <signal.h>
#include <sys/prctl.h>
#include <sys/wait.h>
#include <time.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <vector>

#include "base/OpenFiles.h"

namespace {

struct ProcessLink {
  pid_t pid;
  pid_t parent;
  pid_t session;
  bool ended;  // a zombie: it runs no more and holds no file open
};

// The parent and session from /proc/<pid>/stat: "pid (name) state ppid
// pgrp session ...". The name may hold blanks and parentheses, so the
// fields are counted from the last closing parenthesis.
bool readLink(const char* pidText, ProcessLink& link) {
  // Room for any directory entry name, though a process's is a number.
  char path[sizeof "/proc//stat" + 256];
  std::snprintf(path, sizeof path, "/proc/%s/stat", pidText);
  FileDescriptor fd(open(path, O_RDONLY | O_CLOEXEC));
  if (!fd.isOpen()) return false;
  char stat[512];
  ssize_t n = read(fd.get(), stat, sizeof stat - 1);
  if (n <= 0) return false;
  stat[n] = '\0';
  const char* nameEnd = std::strrchr(stat, ')');
  if (!nameEnd || nameEnd[1] != ' ' || nameEnd[2] == '\0' || nameEnd[3] != ' ') return false;
  char* next = nullptr;
  link.parent = static_cast<pid_t>(std::strtol(nameEnd + 4, &next, 10));
  std::strtol(next, &next, 10);  // the process group
  link.session = static_cast<pid_t>(std::strtol(next, nullptr, 10));
  link.ended = nameEnd[2] == 'Z' || nameEnd[2] == 'X';
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
    ProcessLink link = {static_cast<pid_t>(pid), 0, 0, false};
    if (readLink(entry->d_name, link)) links.push_back(link);
  }
  closedir(proc);
  return links;
}

// root and every process below it in one of the sessions, as /proc shows
// them now. The whole tree is found before anything is signalled: a
// process that ends first hands its children to another parent. What
// another session holds is left out with everything below it, which a
// process cannot bring back into the command's session.
std::vector<pid_t> processTree(pid_t root, bool withEnded, pid_t session, pid_t extraSession) {
  std::vector<ProcessLink> links = allProcesses();
  std::vector<pid_t> tree{root};
  // The listing is not one snapshot (a pid can be reused while it is read),
  // so the tree is bounded by the number of processes seen.
  for (size_t next = 0; next < tree.size() && tree.size() <= links.size(); ++next) {
    for (const ProcessLink& link : links) {
      if (link.parent != tree[next] || (!withEnded && link.ended)) continue;
      if (link.session != session && link.session != extraSession && !link.ended) continue;
      tree.push_back(link.pid);
    }
  }
  return tree;
}

bool hasSignal(const SignalledProcesses& signalled, pid_t pid, int signalNumber) {
  for (const SignalledProcess& process : signalled) {
    if (process.pid == pid && process.signalNumber == signalNumber) return true;
  }
  return false;
}

void pause(long millis) {
  struct timespec delay = {millis / 1000, (millis % 1000) * 1000000L};
  nanosleep(&delay, nullptr);
}

}  // namespace

long long MonotonicMillis() {
  struct timespec now;
  clock_gettime(CLOCK_MONOTONIC, &now);
  return static_cast<long long>(now.tv_sec) * 1000 + now.tv_nsec / 1000000;
}

void SignalProcessTree(pid_t root, int signalNumber, SignalledProcesses* signalled, bool groupGotIt) {
  pid_t rootSession = getsid(root);
  const pid_t launcher = getpid(), group = getpgrp();
  // The launcher's whole tree: a program whose shell has ended already
  // was adopted by the launcher and is in the group as well.
  for (pid_t pid : processTree(groupGotIt ? launcher : root, true, getsid(0), rootSession > 0 ? rootSession : 0)) {
    if (pid == launcher) continue;
    if (signalled && hasSignal(*signalled, pid, signalNumber)) continue;
    if (!groupGotIt || getpgid(pid) != group) kill(pid, signalNumber);
    if (signalled) signalled->push_back({pid, signalNumber});
  }
}

void AdoptOrphanedDescendants() { prctl(PR_SET_CHILD_SUBREAPER, 1, 0, 0, 0); }

void CollectEndedChildren(pid_t keep) {
  for (;;) {
    // A look first: the child being waited for must stay for its own wait.
    siginfo_t info;
    info.si_pid = 0;
    if (waitid(P_ALL, 0, &info, WEXITED | WNOHANG | WNOWAIT) != 0 || info.si_pid == 0 || info.si_pid == keep) return;
    if (waitpid(info.si_pid, nullptr, WNOHANG) <= 0) return;
  }
}

void EndDescendants(int signalNumber, long long deadline, pid_t extraSession, const SignalledProcesses* signalled,
                    bool groupGotIt) {
  // The reading of the process table costs more the more processes the
  // machine runs; the pause before the next reading grows with it.
  const long kPauseMillis = 10;
  const long kMostScanPauseMillis = 320;
  const long long kAfterKillMillis = 5000;
  const pid_t session = getsid(0), group = getpgrp();
  // Only the processes found at the first look were there for the group's
  // signal.
  bool groupHasIt = groupGotIt;
  SignalledProcesses given;
  if (signalled) given = *signalled;
  long scanPause = kPauseMillis;
  long long nextScan = 0;
  for (;;) {
    // Descendants that ended and came to the launcher are collected here;
    // the others are collected by their own parents. With no child left at
    // all, nothing below the launcher runs.
    pid_t collected;
    while ((collected = waitpid(-1, nullptr, WNOHANG)) > 0) nextScan = 0;
    if (collected < 0 && errno == ECHILD) return;
    long long now = MonotonicMillis();
    bool overdue = now >= deadline;
    if (now >= nextScan) {
      long long scanStart = now;
      std::vector<pid_t> tree = processTree(getpid(), false, session, extraSession);
      tree.erase(tree.begin());  // the launcher itself
      if (tree.empty()) return;
      if (overdue && now >= deadline + kAfterKillMillis) return;
      for (pid_t pid : tree) {
        if (overdue) {
          kill(pid, SIGKILL);
        } else if (!hasSignal(given, pid, signalNumber)) {
          // Also those started after the signal was first passed on.
          if (!groupHasIt || getpgid(pid) != group) kill(pid, signalNumber);
          given.push_back({pid, signalNumber});
        }
      }
      groupHasIt = false;
      now = MonotonicMillis();
      long scanMillis = static_cast<long>(now - scanStart);
      scanPause = std::min(kMostScanPauseMillis, std::max(scanPause * 2, 8 * scanMillis));
      nextScan = now + scanPause;
      // The kill is never late by a whole pause.
      if (!overdue && nextScan > deadline) nextScan = deadline;
    }
    pause(kPauseMillis);
  }
}
