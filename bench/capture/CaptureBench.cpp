// Measures captured child runs against the plainest way of doing the same
// work, in the same process and the same run, and prints the ratios.
//
//   capture_bench bulk MEGABYTES ROUNDS   a child writing MEGABYTES to stdout,
//                                         captured, against the same writer
//                                         piped into cat >/dev/null
//   capture_bench start COUNT ROUNDS      runCommand of /bin/sh -c true with
//                                         capture, against fork/exec/wait
//
// Rounds alternate between the two sides so that a slow moment of the
// machine hurts both alike; the best round of each side is compared.
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "launch/RunCommand.h"
#include "messages/Messages.h"

namespace {

typedef std::chrono::steady_clock Clock;

double secondsSince(Clock::time_point begin) { return std::chrono::duration<double>(Clock::now() - begin).count(); }

int forkExecWait(const char* command) {
  pid_t pid = fork();
  if (pid == 0) {
    execl("/bin/sh", "sh", "-c", command, static_cast<char*>(nullptr));
    _exit(127);
  }
  int status = 0;
  waitpid(pid, &status, 0);
  return status;
}

int bulk(long megabytes, int rounds) {
  std::string writer = "head -c " + std::to_string(megabytes * 1024 * 1024) + " /dev/zero";
  std::string piped = writer + " | cat >/dev/null";
  double bestReference = 1e9, bestCaptured = 1e9;
  for (int round = 0; round < rounds; ++round) {
    Clock::time_point begin = Clock::now();
    forkExecWait(piped.c_str());
    bestReference = std::min(bestReference, secondsSince(begin));

    SString out, err;
    begin = Clock::now();
    runCommand(writer.c_str(), CommandOptions().captureInto(&out, &err));
    bestCaptured = std::min(bestCaptured, secondsSince(begin));
    if (out.length() != static_cast<SString::size_type>(megabytes * 1024 * 1024)) {
      std::fprintf(stderr, "captured %u bytes, expected %ld MB\n", out.length(), megabytes);
      return 1;
    }
  }
  std::printf("capture of %ld MB: %.3f s, through cat: %.3f s, ratio %.2f (limit 1.5)\n", megabytes, bestCaptured,
              bestReference, bestCaptured / bestReference);
  return bestCaptured / bestReference <= 1.5 ? 0 : 1;
}

int start(int count, int rounds) {
  double bestReference = 1e9, bestCaptured = 1e9;
  for (int round = 0; round < rounds; ++round) {
    Clock::time_point begin = Clock::now();
    for (int i = 0; i < count; ++i) forkExecWait("true");
    bestReference = std::min(bestReference, secondsSince(begin));

    begin = Clock::now();
    for (int i = 0; i < count; ++i) {
      SString out, err;
      runCommand("true", CommandOptions().captureInto(&out, &err));
    }
    bestCaptured = std::min(bestCaptured, secondsSince(begin));
  }
  std::printf(
      "%d captured runs of sh -c true: %.2f ms each, fork/exec/wait: %.2f ms each, "
      "ratio %.2f (limit 1.1)\n",
      count, bestCaptured * 1000 / count, bestReference * 1000 / count, bestCaptured / bestReference);
  return bestCaptured / bestReference <= 1.1 ? 0 : 1;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 4) {
    std::fprintf(stderr, "usage: %s bulk|start N ROUNDS\n", argv[0]);
    return 2;
  }
  // A launch runs with the progress display off; so does this measurement.
  DisableProgress();
  std::string mode = argv[1];
  long n = std::atol(argv[2]);
  int rounds = std::atoi(argv[3]);
  if (mode == "bulk") return bulk(n, rounds);
  if (mode == "start") return start(static_cast<int>(n), rounds);
  std::fprintf(stderr, "unknown mode %s\n", argv[1]);
  return 2;
}
