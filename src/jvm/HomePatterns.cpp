#include "jvm/HomePatterns.h"

#include <dirent.h>
#include <limits.h>
#include <stdlib.h>
#include <sys/stat.h>

#include "fsutil/Platform.h"

const char* const kKnownJvmLocations[] = {
    // Distribution packages.
    "/usr/lib/jvm/*",
    "/usr/lib64/jvm/*",
    "/usr/java/*",
    "/usr/local/java/*",
    "/usr/local/jdk*",
    // Vendor archives unpacked by hand, and container images.
    "/opt/java/*",
    "/opt/jdk*",
    "/opt/jre*",
    "/opt/*/jdk*",
    "/opt/*/jre*",
    // Version managers and IDEs, in the user's home.
    "~/.sdkman/candidates/java/*",
    "~/.jdks/*",
    "~/.gradle/jdks/*",
    "~/.jbang/cache/jdks/*",
    "~/.asdf/installs/java/*",
    "~/.local/share/mise/installs/java/*",
    // Homebrew on Linux, system-wide or in the user's home.
    "/home/linuxbrew/.linuxbrew/opt/openjdk*/libexec",
    "~/.linuxbrew/opt/openjdk*/libexec",
};
const int kKnownJvmLocationCount = sizeof kKnownJvmLocations / sizeof *kKnownJvmLocations;

namespace {

bool isDirectory(const SString& path) {
  struct stat st;
  return stat(path.c_str(), &st) == 0 && S_ISDIR(st.st_mode);
}

// Adds name to names, which stay sorted.
void insertSorted(StringDeque& names, const SString& name) {
  int i = names.count();
  while (i > 0 && name < names.get(i - 1)) --i;
  names.insert(i == names.count() ? -1 : i, name);  // -1: at the end
}

bool hasWildcard(const SString& text) { return text.find_first_of("*?") != SString::npos; }

// Adds the directories that directory/rest names, rest's components with
// wildcards matched against the entries of the directory before them.
void expandBelow(const SString& directory, const SString& rest, StringDeque& homes) {
  SString::size_type slash = rest.find('/');
  const SString component = rest.substr(0, slash);
  const SString remainder = slash == SString::npos ? SString() : rest.substr(slash + 1);
  if (rest.empty()) {
    // A link a pattern finds (default-java, java-1.17.0-openjdk-amd64) is
    // given as the directory it leads to, the home the JDK is installed as.
    char real[PATH_MAX];
    if (isDirectory(directory)) homes.add(directory[0] == '/' && realpath(directory.c_str(), real) ? real : directory);
  } else if (!hasWildcard(component)) {
    expandBelow(component.empty() ? directory : directory + "/" + component, remainder, homes);
  } else if (DIR* dir = opendir(directory.empty() ? "/" : directory.c_str())) {
    StringDeque names;
    while (struct dirent* entry = readdir(dir)) {
      SString name = entry->d_name;
      if (name != "." && name != ".." && matchesComponent(component, name)) insertSorted(names, name);
    }
    closedir(dir);
    for (int i = 0; i < names.count(); ++i) expandBelow(directory + "/" + names.get(i), remainder, homes);
  }
}

}  // namespace

bool hasHomePattern(const SString& hint) { return hasWildcard(hint) || (!hint.empty() && hint[0] == '~'); }

bool matchesComponent(const SString& pattern, const SString& name) {
  if (!name.empty() && name[0] == '.' && (pattern.empty() || pattern[0] != '.')) return false;
  // Iterative wildcard match: on a mismatch, let the last "*" take one
  // more character.
  SString::size_type p = 0, n = 0, star = SString::npos, resume = 0;
  while (n < name.length()) {
    if (p < pattern.length() && (pattern[p] == '?' || pattern[p] == name[n])) {
      ++p;
      ++n;
    } else if (p < pattern.length() && pattern[p] == '*') {
      star = p++;
      resume = n;
    } else if (star != SString::npos) {
      p = star + 1;
      n = ++resume;
    } else {
      return false;
    }
  }
  while (p < pattern.length() && pattern[p] == '*') ++p;
  return p == pattern.length();
}

void expandHomePattern(const SString& pattern, StringDeque& homes) {
  SString path = pattern;
  // "~user" is not expanded: the launcher reads no user database.
  if (path[0] == '~' && (path.length() == 1 || path[1] == '/')) {
    const SString home = GetEnv("HOME");
    if (home.empty()) return;
    path = home + path.substr(1);
  }
  if (!hasWildcard(path)) {
    homes.add(path);
    return;
  }
  // A relative pattern is matched from "." and given back without it.
  const bool relative = path[0] != '/';
  StringDeque found;
  expandBelow(relative ? "." : "", relative ? path : path.substr(1), found);
  for (int i = 0; i < found.count(); ++i) homes.add(relative ? found.get(i).substr(2) : found.get(i));
}

void knownLocationHomes(const SString& exe, StringDeque& homes) {
  for (int i = 0; i < kKnownJvmLocationCount; ++i) {
    StringDeque matches;
    expandHomePattern(kKnownJvmLocations[i], matches);
    for (int j = 0; j < matches.count(); ++j) {
      const SString& match = matches.get(j);
      static const char* const kBelow[] = {"", "/Contents/Home", "/jre"};
      for (const char* below : kBelow) {
        SString home = match + below;
        if (FileExists(home + "/" + exe)) {
          homes.add(home);
          break;
        }
      }
    }
  }
}
