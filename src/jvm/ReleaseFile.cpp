#include "jvm/ReleaseFile.h"

#include <fcntl.h>
#include <limits.h>
#include <stdlib.h>
#include <sys/stat.h>
#include <unistd.h>

#include "base/OpenFiles.h"

namespace {

// Real release files are well under a kilobyte.
const size_t kMostBytesRead = 64 * 1024;
const char kPrefixMark[] = "...";

SString unquoted(const SString& value) {
  SString text = trim(value, kWhiteSpace);
  if (text.length() >= 2 && (text[0] == '"' || text[0] == '\'') && text[text.length() - 1] == text[0]) {
    return text.substr(1, text.length() - 2);
  }
  return text;
}

}  // namespace

bool readReleaseValue(const SString& home, const char* key, SString& value) {
  SString path = home;
  if (path.empty() || path[path.length() - 1] != '/') path += "/";
  path += "release";
  // Not blocking on a pipe someone put there, and only a plain file counts.
  FileDescriptor fd(::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC | O_NOCTTY));
  struct stat st;
  if (!fd.isOpen() || fstat(fd.get(), &st) != 0 || !S_ISREG(st.st_mode)) return false;
  char buffer[4096];
  SString text;
  while (text.length() < kMostBytesRead) {
    ssize_t n = ::read(fd.get(), buffer, sizeof buffer);
    if (n <= 0) break;
    text.append(buffer, static_cast<SString::size_type>(n));
  }
  const SString prefix = SString(key) + "=";
  const SString::size_type keyLength = prefix.length();
  SString::size_type start = 0;
  while (start < text.length()) {
    SString::size_type end = text.find('\n', start);
    if (end == SString::npos) end = text.length();
    SString line = trim(text.substr(start, end - start), kWhiteSpace);
    if (line.length() > keyLength && line.compare(0, keyLength, prefix) == 0) {
      value = unquoted(line.substr(keyLength));
      return !value.empty();
    }
    start = end + 1;
  }
  return false;
}

bool readReleaseJavaVersion(const SString& home, SString& version) {
  return readReleaseValue(home, "JAVA_VERSION", version);
}

bool releaseVersionRulesOut(const SString& found, const SString& required) {
  SString wanted = required;
  if (endsWith(wanted, kPrefixMark) != SString::npos) wanted = wanted.substr(0, wanted.length() - 3);
  SString::size_type shared = found.length() < wanted.length() ? found.length() : wanted.length();
  for (SString::size_type i = 0; i < shared; ++i) {
    if (found[i] != wanted[i]) return true;
  }
  return false;
}

bool readHomeReleaseVersion(const SString& home, const SString& exe, SString& version) {
  if (readReleaseJavaVersion(home, version)) return true;
  char real[PATH_MAX];
  SString realHome = realpath((home + "/" + exe).c_str(), real) ? SString(real) : SString();
  SString::size_type exeStart = endsWith(realHome, ("/" + exe).c_str());
  if (exeStart == SString::npos) return false;
  realHome.erase(exeStart);
  return readReleaseJavaVersion(realHome, version) ||
         (endsWith(realHome, "/jre") != SString::npos &&
          readReleaseJavaVersion(realHome.substr(0, exeStart - 4), version));
}
