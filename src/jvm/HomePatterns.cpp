#include "jvm/HomePatterns.h"

#include <dirent.h>
#include <sys/stat.h>

#include <algorithm>
#include <string>
#include <vector>

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

// The directory's entries that match the component, sorted by name.
std::vector<std::string> matchingEntries(const SString& directory, const SString& component) {
  std::vector<std::string> names;
  DIR* dir = opendir(directory.empty() ? "/" : directory.c_str());
  if (!dir) return names;
  while (struct dirent* entry = readdir(dir)) {
    SString name = entry->d_name;
    if (name == "." || name == "..") continue;
    if (matchesComponent(component, name)) names.push_back(entry->d_name);
  }
  closedir(dir);
  std::sort(names.begin(), names.end());
  return names;
}

bool hasWildcard(const SString& text) { return text.find_first_of("*?") != SString::npos; }

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
  if (!path.empty() && path[0] == '~') {
    if (path.length() > 1 && path[1] != '/') {
      homes.add(pattern);  // ~user is not expanded: the launcher reads no user database
      return;
    }
    const SString home = GetEnv("HOME");
    if (home.empty()) return;
    path = home + path.substr(1);
  }
  if (!hasWildcard(path)) {
    homes.add(path);
    return;
  }
  // Component by component: the fixed ones are taken as they are, the
  // ones with wildcards are matched against the directory's entries.
  std::vector<std::string> prefixes{path[0] == '/' ? "" : "."};
  SString::size_type start = path[0] == '/' ? 1 : 0;
  const bool relative = path[0] != '/';
  while (start <= path.length() && !prefixes.empty()) {
    SString::size_type slash = path.find('/', start);
    SString component = path.substr(start, slash == SString::npos ? SString::npos : slash - start);
    std::vector<std::string> next;
    for (const std::string& prefix : prefixes) {
      if (component.empty()) {
        next.push_back(prefix);
      } else if (!hasWildcard(component)) {
        next.push_back(prefix + "/" + component.c_str());
      } else {
        for (const std::string& name : matchingEntries(prefix.c_str(), component)) {
          if (isDirectory((prefix + "/" + name).c_str())) next.push_back(prefix + "/" + name);
        }
      }
    }
    prefixes.swap(next);
    if (slash == SString::npos) break;
    start = slash + 1;
  }
  for (const std::string& found : prefixes) {
    // "./x" back to the relative "x" the hint wrote.
    SString home = relative ? SString(found.c_str() + 2) : SString(found.c_str());
    if (isDirectory(relative ? SString(found.c_str()) : home)) homes.add(home);
  }
}

void knownLocationHomes(const SString& exe, StringDeque& homes) {
  for (int i = 0; i < kKnownJvmLocationCount; ++i) {
    StringDeque matches;
    expandHomePattern(kKnownJvmLocations[i], matches);
    for (int j = 0; j < matches.count(); ++j) {
      const SString& match = matches.get(j);
      for (const char* below : {"", "/Contents/Home", "/jre"}) {
        SString home = match + below;
        if (FileExists(home + "/" + exe)) {
          homes.add(home);
          break;
        }
      }
    }
  }
}
