// Times the file search on a directory tree: walks it with FindFiles a
// number of times and prints the matches, the best walk time and the peak
// memory of the process, for bench/walk.sh. The progress dots of a real
// search stay on; the figures come on a line of their own after them.
// usage: walk_bench DIR REPEATS NAME...
#include <sys/resource.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>

#include "fsutil/FileNavigator.h"

namespace {

class CountingListener : public FileFindListener {
 public:
  int fileFound(const SString&) override {
    ++found;
    return 0;
  }
  long found = 0;
};

}  // namespace

int main(int argc, char** argv) {
  if (argc < 4) {
    std::fprintf(stderr, "usage: %s DIR REPEATS NAME...\n", argv[0]);
    return 2;
  }
  StringDeque names;
  for (int i = 3; i < argc; ++i) names.add(argv[i]);
  const int repeats = std::atoi(argv[2]);
  double best = 0;
  long found = 0;
  for (int r = 0; r < repeats; ++r) {
    CountingListener listener;
    FindFiles search(names, &listener);
    auto start = std::chrono::steady_clock::now();
    search.navigate(argv[1]);
    double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    if (r == 0 || seconds < best) best = seconds;
    found = listener.found;
  }
  struct rusage usage;
  getrusage(RUSAGE_SELF, &usage);
  std::printf("\nfound %ld seconds %.6f maxrss_kb %ld\n", found, best, usage.ru_maxrss);
  return 0;
}
