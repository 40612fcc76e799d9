// The project's source directory, for tests that read shipped files (the
// demo's script, the translators' files).
#pragma once

#include <cstdlib>
#include <string>

// ctest passes it in LX_SOURCE_DIR; a test binary run by hand falls back on
// the path this header was compiled from. The variable comes first because a
// compiler cache may compile with relative paths, which __FILE__ then holds.
inline std::string SourceDir() {
  const char* given = std::getenv("LX_SOURCE_DIR");
  if (given != nullptr && given[0] != '\0') return given;
  std::string header = __FILE__;
  return header.substr(0, header.rfind("/tests/"));
}
