#include "launch/RunProgram.h"

#include <poll.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <cstring>
#include <vector>

#include "base/Termination.h"
#include "launch/SignalForwarder.h"
#include "launch/SignalWitness.h"

extern char** environ;

namespace {

typedef std::chrono::steady_clock Clock;

const int kPollMillis = 50;
// How long the program gets to end after the time limit's SIGTERM before
// it is killed.
const int kGraceSeconds = 5;

bool sameName(const char* setting, const SString& other) {
  const char* equals = std::strchr(setting, '=');
  size_t length = equals ? static_cast<size_t>(equals - setting) : std::strlen(setting);
  SString::size_type otherEquals = other.find('=');
  size_t otherLength = otherEquals == SString::npos ? other.length() : otherEquals;
  return length == otherLength && std::strncmp(setting, other.c_str(), length) == 0;
}

// The launcher's environment with the run's settings in place of the
// variables of the same names. The strings stay owned by run and environ.
std::vector<char*> programEnvironment(const ProgramRun& run) {
  std::vector<char*> env;
  for (char** entry = environ; entry && *entry; ++entry) {
    bool replaced = false;
    for (int i = 0; i < run.environment.count() && !replaced; ++i) replaced = sameName(*entry, run.environment.get(i));
    if (!replaced) env.push_back(*entry);
  }
  for (int i = 0; i < run.environment.count(); ++i) env.push_back(const_cast<char*>(run.environment.get(i).c_str()));
  env.push_back(nullptr);
  return env;
}

int exitCode(int status) {
  if (WIFSIGNALED(status)) return 128 + WTERMSIG(status);
  return WEXITSTATUS(status);
}

}  // namespace

int runProgram(ProgramRun& run) {
  run.expired = false;
  std::vector<char*> argv;
  argv.push_back(const_cast<char*>(run.program.c_str()));
  for (int i = 0; i < run.arguments.count(); ++i) argv.push_back(const_cast<char*>(run.arguments.get(i).c_str()));
  argv.push_back(nullptr);
  std::vector<char*> env = programEnvironment(run);

  // Everything the child needs is made before the fork: after it, the
  // child only calls what is safe there.
  ChildSignals signals(true);
  pid_t pid = fork();
  if (pid < 0) return -1;
  if (pid == 0) {
    setpgid(0, 0);
    signals.prepareChild();
    execve(argv[0], argv.data(), env.data());
    _exit(127);
  }
  // Also here, so that a signal sent to the group right away finds it.
  setpgid(pid, pid);
  signals.started();
  // A request to end the launcher reaches the program as it reaches a
  // command run in a group of its own, with the same grace before the kill:
  // a tool that ignores it must not keep the launcher for its whole time.
  // The program's group is its own, so no witness is needed.
  SignalWitness noWitness(false);
  SignalForwarder forwarder(pid, true, signals, noWitness);

  const bool limited = run.timeoutSeconds > 0;
  const Clock::time_point deadline = Clock::now() + std::chrono::seconds(run.timeoutSeconds);
  Clock::time_point killAt;
  int status = 0;
  for (;;) {
    pid_t ended = waitpid(pid, &status, WNOHANG);
    if (ended == pid) break;
    if (ended < 0 && errno != EINTR) {
      status = 0;
      break;
    }
    forwarder.passOn();
    Clock::time_point now = Clock::now();
    if (limited && !run.expired && now >= deadline) {
      run.expired = true;
      kill(-pid, SIGTERM);
      killAt = now + std::chrono::seconds(kGraceSeconds);
    } else if (run.expired && now >= killAt) {
      kill(-pid, SIGKILL);
      killAt = now + std::chrono::seconds(kGraceSeconds);
    }
    poll(nullptr, 0, kPollMillis);
  }
  forwarder.ended(status);
  return exitCode(status);
}
