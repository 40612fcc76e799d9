#include "SignalCleanup.h"

#include <unistd.h>

#include <csignal>
#include <cstring>

#include "Usage.h"

namespace {

const int kMaxPaths = 16;
const size_t kMaxPath = 4096;
char paths[kMaxPaths][kMaxPath];
volatile sig_atomic_t used = 0;

void removeAllAndDie(int signal) {
  for (int i = used; i-- > 0;) {
    if (paths[i][0] && ::unlink(paths[i]) != 0) ::rmdir(paths[i]);
  }
  std::signal(signal, SIG_DFL);
  std::raise(signal);
}

void watchSignals(void (*handler)(int)) {
  for (int signal : {SIGINT, SIGTERM, SIGHUP}) std::signal(signal, handler);
}

}  // namespace

void removeOnSignal(const std::string& path) {
  if (path.size() >= kMaxPath) throw PackError("path too long: " + path);
  if (used == kMaxPaths) throw PackError("too many files to remove at once: " + path);
  std::memcpy(paths[used], path.c_str(), path.size() + 1);
  used = used + 1;
  if (used == 1) watchSignals(removeAllAndDie);
}

void keepOnSignal(const std::string& path) {
  for (int i = used; i-- > 0;) {
    if (path != paths[i]) continue;
    // Later entries move down; the handler may run in between and then
    // sees one path twice, which costs one failed unlink.
    for (int j = i; j + 1 < used; ++j) std::memcpy(paths[j], paths[j + 1], kMaxPath);
    used = used - 1;
    break;
  }
  if (used == 0) watchSignals(SIG_DFL);
}
