#include "ManifestClassPath.h"

#include <sys/stat.h>

#include <cstdlib>
#include <set>

#include "JarManifest.h"
#include "Usage.h"
#include "ZipDirectory.h"

namespace {

const uint64_t kMaxManifestSize = 64ULL << 20;

std::string directoryOf(const std::string& path) {
  std::string::size_type slash = path.rfind('/');
  if (slash == std::string::npos) return ".";
  return slash == 0 ? "/" : path.substr(0, slash);
}

int hexDigit(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

std::string percentDecoded(const std::string& text) {
  std::string decoded;
  for (std::string::size_type i = 0; i < text.size(); ++i) {
    if (text[i] == '%' && i + 2 < text.size() && hexDigit(text[i + 1]) >= 0 && hexDigit(text[i + 2]) >= 0) {
      decoded += static_cast<char>(hexDigit(text[i + 1]) * 16 + hexDigit(text[i + 2]));
      i += 2;
    } else {
      decoded += text[i];
    }
  }
  return decoded;
}

// "http:", "file:": a scheme is a letter, then letters, digits, + - .
std::string schemeOf(const std::string& entry) {
  std::string::size_type colon = entry.find(':');
  if (colon == std::string::npos || colon == 0) return std::string();
  for (std::string::size_type i = 0; i < colon; ++i) {
    char c = entry[i];
    bool letter = (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z');
    if (!letter && (i == 0 || !((c >= '0' && c <= '9') || c == '+' || c == '-' || c == '.'))) return std::string();
  }
  return entry.substr(0, colon);
}

std::string lowerCase(std::string text) {
  for (char& c : text) c = static_cast<char>(c >= 'A' && c <= 'Z' ? c - 'A' + 'a' : c);
  return text;
}

std::vector<std::string> words(const std::string& text) {
  std::vector<std::string> result;
  std::string::size_type at = 0;
  while ((at = text.find_first_not_of(" \t", at)) != std::string::npos) {
    std::string::size_type end = text.find_first_of(" \t", at);
    result.push_back(text.substr(at, end - at));
    at = end;
  }
  return result;
}

// The main section's Class-Path of an open zip file; throws ZipError.
std::string manifestClassPath(const ZipDirectory& jar) {
  const ZipEntry* entry = jar.findIgnoringCase("META-INF/MANIFEST.MF");
  return entry ? JarManifest(jar.read(*entry, kMaxManifestSize)).value("Class-Path") : std::string();
}

// The same file however it was named (lib/../a.jar, a link).
std::string identity(const std::string& path) {
  char* real = ::realpath(path.c_str(), nullptr);
  if (!real) return path;
  std::string result = real;
  std::free(real);
  return result;
}

}  // namespace

ClassPathEntry resolveClassPathEntry(const std::string& jarDirectory, const std::string& entry) {
  ClassPathEntry result;
  std::string path;
  const std::string scheme = lowerCase(schemeOf(entry));
  if (scheme.empty()) {
    path = percentDecoded(entry);
    if (path.empty() || path[0] != '/') path = (jarDirectory == "/" ? "" : jarDirectory) + "/" + path;
  } else if (scheme == "file") {
    path = percentDecoded(entry.substr(5));
    // file://host/path: only the local host's empty name is a local file.
    if (path.compare(0, 2, "//") == 0) {
      std::string::size_type slash = path.find('/', 2);
      std::string host = path.substr(2, slash == std::string::npos ? std::string::npos : slash - 2);
      if (!host.empty() && host != "localhost") return ClassPathEntry{ClassPathEntry::kNotLocal, std::string()};
      path = slash == std::string::npos ? "/" : path.substr(slash);
    }
  } else {
    return ClassPathEntry{ClassPathEntry::kNotLocal, std::string()};
  }
  result.kind = !path.empty() && path.back() == '/' ? ClassPathEntry::kDirectory : ClassPathEntry::kFile;
  result.path = path;
  return result;
}

CarriedClassPath carriedClassPath(const std::vector<std::string>& given) {
  CarriedClassPath carried;
  std::set<std::string> seen;
  // Breadth first, as java reads them: a jar's Class-Path jars come after
  // it, and theirs after those. Each jar is read once, when it is found,
  // which is also what tells that it is a zip file at all.
  struct Named {
    std::string jar;
    std::string classPath;
  };
  std::vector<Named> toRead;
  for (const std::string& jar : given) {
    seen.insert(identity(jar));
    try {
      toRead.push_back(Named{jar, manifestClassPath(ZipDirectory(jar))});
    } catch (const ZipError& e) {
      throw UsageError(std::string(e.what()) + " (given on the command line)");
    }
  }
  for (size_t next = 0; next < toRead.size(); ++next) {
    const std::string jar = toRead[next].jar;
    for (const std::string& word : words(toRead[next].classPath)) {
      const ClassPathEntry entry = resolveClassPathEntry(directoryOf(jar), word);
      const std::string named = "the Class-Path of " + jar + " names " + word;
      if (entry.kind != ClassPathEntry::kFile) {
        carried.warnings.push_back(named +
                                   (entry.kind == ClassPathEntry::kDirectory
                                        ? ", a directory, which a launcher cannot carry"
                                        : ", which is no file a launcher can carry") +
                                   ": java looks for it on the user's computer and goes on without it");
        continue;
      }
      struct stat status;
      if (::stat(entry.path.c_str(), &status) != 0 || !S_ISREG(status.st_mode)) {
        carried.refusals.push_back(named + ", and there is no file " + entry.path +
                                   ": the program would not find its classes; put the jar there, or leave it out "
                                   "of the manifest and give it with --class-path");
        continue;
      }
      if (!seen.insert(identity(entry.path)).second) continue;
      try {
        toRead.push_back(Named{entry.path, manifestClassPath(ZipDirectory(entry.path))});
      } catch (const ZipError& e) {
        carried.refusals.push_back(named + ", which a launcher cannot carry: " + e.what());
        continue;
      }
      carried.jars.push_back(CarriedJar{entry.path, jar, word});
    }
  }
  return carried;
}
