#include "support/Processes.h"

#include <dirent.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>

#include "support/TempDir.h"

int InForkedProcess(const std::function<int()>& body) {
  std::fflush(nullptr);
  pid_t pid = fork();
  if (pid == 0) {
    int code = 0;
    try {
      code = body();
    } catch (...) {
      code = 99;
    }
    _exit(code);
  }
  int status = 0;
  waitpid(pid, &status, 0);
  return WIFEXITED(status) ? WEXITSTATUS(status) : -WTERMSIG(status);
}

int OpenDescriptorCount() {
  DIR* dir = opendir("/proc/self/fd");
  if (!dir) return -1;
  int count = 0;
  while (struct dirent* entry = readdir(dir)) {
    if (entry->d_name[0] != '.') ++count;
  }
  closedir(dir);
  return count - 1;  // the listing's own
}

bool EndsSoon(const std::string& pid) {
  for (int i = 0; i < 500; ++i) {
    std::string state = ReadFile("/proc/" + pid + "/stat");
    if (state.empty() || state.find(") Z ") != std::string::npos) return true;
    usleep(10000);
  }
  return false;
}

void SignalLater(pid_t target, int signalNumber, int millis) {
  if (fork() == 0) {
    usleep(static_cast<useconds_t>(millis) * 1000);
    kill(target, signalNumber);
    _exit(0);
  }
}

std::string WaitForLine(const std::string& path) {
  for (int i = 0; i < 6000; ++i) {
    std::string text = ReadFile(path);
    std::string::size_type end = text.find('\n');
    if (end != std::string::npos) return text.substr(0, end);
    usleep(10000);
  }
  return "";
}

std::string ShellOutput(const std::string& command) {
  FILE* shell = popen(command.c_str(), "r");
  if (shell == nullptr) return "(popen failed)";
  std::string out;
  char buffer[256];
  size_t n;
  while ((n = std::fread(buffer, 1, sizeof buffer, shell)) > 0) out.append(buffer, n);
  if (pclose(shell) != 0) return "(the shell failed: " + out + ")";
  return out;
}
