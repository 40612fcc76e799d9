#include "base/Log.h"

#include <cstdio>

namespace {

SString& logFileName() {
  static SString name;
  return name;
}

// One separator per process, before its first line, whichever file that
// line goes to: repeated runs on one log file stay easy to tell apart.
bool logSeparatorWritten = false;

}  // namespace

void setLogFile(const SString& name) { logFileName() = name; }

SString getLogFile() { return logFileName(); }

void log(const SString& message, int level) {
  const SString& name = logFileName();
  if (name.empty()) return;
  FILE* f = std::fopen(name.c_str(), "a");
  if (!f) return;
  if (!logSeparatorWritten) {
    std::fputs("------------------\n", f);
    logSeparatorWritten = true;
  }
  const char* prefix = level == WARNING ? "WARNING: " : level == ERROR ? "ERROR: " : "";
  std::fputs(prefix, f);
  std::fwrite(message.c_str(), 1, message.length(), f);
  std::fputc('\n', f);
  std::fflush(f);
  std::fclose(f);
}

void log(const char* message, int level) { log(SString(message), level); }
