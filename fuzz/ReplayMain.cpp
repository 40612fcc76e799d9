// Replays the kept inputs of one fuzz target without libFuzzer, so that any
// compiler and the sanitizer build check them:
//
//   fuzz_replay_<target> fuzz/corpus/<target>
//
// Every regular file of the directory is one input. An empty or missing
// directory is a failure: the replay would check nothing.
#include <dirent.h>

#include <algorithm>
#include <cstdio>
#include <fstream>
#include <iterator>
#include <memory>
#include <string>
#include <vector>

#include "FuzzTarget.h"

namespace {

bool readInput(const std::string& path, std::vector<uint8_t>& bytes) {
  std::ifstream in(path, std::ios::binary);
  if (!in) return false;
  bytes.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
  return !in.bad();
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: %s CORPUS_DIRECTORY\n", argv[0]);
    return 2;
  }
  const std::string directory = argv[1];
  DIR* dir = opendir(directory.c_str());
  if (!dir) {
    std::perror(directory.c_str());
    return 1;
  }
  std::vector<std::string> names;
  while (dirent* entry = readdir(dir)) {
    if (entry->d_name[0] != '.') names.push_back(entry->d_name);
  }
  closedir(dir);
  std::sort(names.begin(), names.end());

  int replayed = 0;
  for (const std::string& name : names) {
    std::vector<uint8_t> bytes;
    if (!readInput(directory + "/" + name, bytes)) {
      std::fprintf(stderr, "cannot read %s/%s\n", directory.c_str(), name.c_str());
      return 1;
    }
    // A copy of exactly the input's size, so that the sanitizers see any
    // read behind its end.
    std::unique_ptr<uint8_t[]> input(new uint8_t[bytes.size() + (bytes.empty() ? 1 : 0)]);
    std::copy(bytes.begin(), bytes.end(), input.get());
    std::fprintf(stderr, "%s\n", name.c_str());
    LLVMFuzzerTestOneInput(input.get(), bytes.size());
    ++replayed;
  }
  if (replayed == 0) {
    std::fprintf(stderr, "%s holds no input\n", directory.c_str());
    return 1;
  }
  std::printf("%d inputs replayed from %s\n", replayed, directory.c_str());
  return 0;
}
