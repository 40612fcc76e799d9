#include "launch/SideFiles.h"

#include <cstdio>
#include <string>

SString sideFilePath(const LauncherPaths& paths, const char* suffix) {
  SString path = paths.origLauncherPath;
  SString::size_type separator = path.find_last_of("/\\");
  SString::size_type dot = path.rfind('.');
  if (separator != SString::npos && dot != SString::npos && dot > separator) path = path.substr(0, dot);
  return path + suffix;
}

bool readTextLines(const SString& path, StringDeque& lines) {
  lines.removeAll();
  FILE* file = std::fopen(path.c_str(), "rb");
  if (!file) return false;
  // Gathered in a std::string: an SString grows by a fixed step only.
  std::string line;
  bool pending = false;
  for (int c; (c = std::fgetc(file)) != EOF;) {
    if (c == '\n') {
      lines.add(trim(SString(line.data(), static_cast<SString::size_type>(line.size())), kWhiteSpace));
      line.clear();
      pending = false;
    } else if (c != '\r') {
      line += static_cast<char>(c);
      pending = true;
    }
  }
  if (pending) lines.add(trim(SString(line.data(), static_cast<SString::size_type>(line.size())), kWhiteSpace));
  std::fclose(file);
  return true;
}
