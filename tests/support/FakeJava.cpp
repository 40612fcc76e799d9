#include "support/FakeJava.h"

#include <dirent.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <fstream>
#include <stdexcept>

namespace {

void MakeDirectories(const std::string& path) {
  for (std::string::size_type slash = path.find('/', 1);; slash = path.find('/', slash + 1)) {
    std::string prefix = path.substr(0, slash);
    if (mkdir(prefix.c_str(), 0755) != 0 && errno != EEXIST) {
      throw std::runtime_error("cannot create " + prefix);
    }
    if (slash == std::string::npos) return;
  }
}

bool IsExecutableFile(const std::string& path) {
  struct stat st;
  return stat(path.c_str(), &st) == 0 && S_ISREG(st.st_mode) && access(path.c_str(), X_OK) == 0;
}

// JAVA_VERSION="17.0.15" gives "17"; the old scheme "1.8.0_412" gives "1.8".
std::string SpecificationVersion(const std::string& releaseFile) {
  std::ifstream in(releaseFile);
  std::string line;
  const std::string key = "JAVA_VERSION=\"";
  while (std::getline(in, line)) {
    if (line.compare(0, key.size(), key) != 0) continue;
    std::string version = line.substr(key.size(), line.find('"', key.size()) - key.size());
    std::string::size_type dot = version.find('.');
    if (version.compare(0, 2, "1.") == 0) dot = version.find('.', 2);
    return version.substr(0, dot);
  }
  return "";
}

}  // namespace

std::string WriteFakeJava(const std::string& home, const std::string& body, const std::string& exe) {
  std::string path = home + "/" + exe;
  MakeDirectories(path.substr(0, path.rfind('/')));
  {
    std::ofstream out(path, std::ios::binary);
    out << "#!/bin/sh\n" << body;
    if (!out) throw std::runtime_error("cannot write " + path);
  }
  chmod(path.c_str(), 0755);
  return path;
}

std::vector<InstalledJdk> InstalledJdks() {
  std::vector<InstalledJdk> jdks;
  const std::string base = "/usr/lib/jvm";
  DIR* dir = opendir(base.c_str());
  if (!dir) return jdks;
  while (dirent* entry = readdir(dir)) {
    std::string name = entry->d_name;
    if (name == "." || name == "..") continue;
    std::string home = base + "/" + name;
    struct stat st;
    if (lstat(home.c_str(), &st) != 0 || !S_ISDIR(st.st_mode)) continue;
    if (!IsExecutableFile(home + "/bin/java")) continue;
    std::string version = SpecificationVersion(home + "/release");
    if (!version.empty()) jdks.push_back({home, version});
  }
  closedir(dir);
  std::sort(jdks.begin(), jdks.end(), [](const InstalledJdk& a, const InstalledJdk& b) { return a.home < b.home; });
  return jdks;
}

std::string BuiltVerifyJar() {
  char self[4096];
  ssize_t n = readlink("/proc/self/exe", self, sizeof self - 1);
  if (n <= 0) return "";
  self[n] = '\0';
  // The test binary lives in <build>/tests/, the jar in <build>/.
  std::string dir(self);
  for (int up = 0; up < 3; ++up) {
    dir = dir.substr(0, dir.rfind('/'));
    if (dir.empty()) break;
    std::string jar = dir + "/Verify.jar";
    struct stat st;
    if (stat(jar.c_str(), &st) == 0) return jar;
  }
  return "";
}
