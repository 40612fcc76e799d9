#include "support/TempDir.h"

#include <cstdlib>
#include <fstream>
#include <sstream>
#include <stdexcept>

TempDir::TempDir() {
  const char* base = std::getenv("TMPDIR");
  std::string pattern = std::string(base && *base ? base : "/tmp") + "/lxtest.XXXXXX";
  if (!mkdtemp(&pattern[0])) throw std::runtime_error("cannot create a test directory");
  path_ = pattern;
}

TempDir::~TempDir() {
  std::string cmd = "rm -rf '" + path_ + "'";
  if (std::system(cmd.c_str()) != 0) {
    // Nothing sensible to do in a destructor; the directory stays behind.
  }
}

std::string TempDir::write(const std::string& name, const std::string& content) const {
  std::string p = file(name);
  std::ofstream out(p, std::ios::binary);
  out << content;
  return p;
}

std::string ReadFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream s;
  s << in.rdbuf();
  return s.str();
}
