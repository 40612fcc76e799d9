#include "MainJar.h"

#include <memory>

#include "ClassFileVersion.h"
#include "JarManifest.h"
#include "Usage.h"
#include "ZipDirectory.h"

namespace {

const char kManifestName[] = "META-INF/MANIFEST.MF";
// Signed jars list a digest of every entry in the manifest, so a large jar
// has a large one; more than this is no manifest.
const uint64_t kMaxManifestSize = 64ULL << 20;
// A class file's tables are counted in 16 bits; none comes near this.
const uint64_t kMaxClassSize = 256ULL << 20;

std::unique_ptr<ZipDirectory> openJar(const std::string& path, const std::string& option) {
  try {
    return std::unique_ptr<ZipDirectory>(new ZipDirectory(path));
  } catch (const ZipError& e) {
    throw UsageError(std::string(e.what()) + " (given as " + option + ")");
  }
}

// com.example.Main is the class file com/example/Main.class, also in a
// multi-release jar's META-INF/versions/N/; java takes com/example/Main too.
std::string classFile(const std::string& className) {
  std::string file = className;
  for (char& c : file) {
    if (c == '.') c = '/';
  }
  return file + ".class";
}

// The entry java loads the class from: the plain one; in a multi-release
// jar without it, the one of the oldest release that has it (the Javas
// before that release find no class at all). Null when the jar has none.
const ZipEntry* classEntry(const ZipDirectory& jar, const std::string& className, unsigned long& release) {
  const std::string file = classFile(className);
  release = 0;
  const ZipEntry* found = nullptr;
  for (const ZipEntry& entry : jar.entries()) {
    if (entry.name == file) return &entry;
  }
  const std::string versions = "META-INF/versions/";
  for (const ZipEntry& entry : jar.entries()) {
    if (entry.name.compare(0, versions.size(), versions) != 0) continue;
    std::string::size_type slash = entry.name.find('/', versions.size());
    if (slash == std::string::npos || entry.name.compare(slash + 1, std::string::npos, file) != 0) continue;
    const std::string number = entry.name.substr(versions.size(), slash - versions.size());
    if (number.empty() || number.size() > 4 || number.find_first_not_of("0123456789") != std::string::npos) continue;
    const unsigned long entryRelease = std::stoul(number);
    if (!found || entryRelease < release) {
      found = &entry;
      release = entryRelease;
    }
  }
  return found;
}

// What the main class needs of --java: the class file's version, and a
// multi-release jar's release that holds it.
void refuseOlderJava(const ZipDirectory& jar, const std::string& jarPath, const ZipEntry& entry, unsigned long release,
                     const JarLauncherOptions& options) {
  std::string bytes;
  try {
    bytes = jar.read(entry, kMaxClassSize);
  } catch (const ZipError& e) {
    throw UsageError(std::string(e.what()) + " (the main class)");
  }
  const int major = classFileMajorVersion(bytes);
  if (major < 0) {
    throw UsageError(jarPath + " (" + entry.name +
                     ") is no class file (it does not start with 0xCAFEBABE and a version): java could not load "
                     "the main class");
  }
  const std::string mistake = classVersionMistake(entry.name, major, options.javaRange);
  if (!mistake.empty()) throw UsageError(mistake);
  const std::string lowest = olderJavaAdmitted(options.javaRange, release);
  if (release > 0 && !lowest.empty()) {
    throw UsageError(jarPath + " holds the main class only in META-INF/versions/" + std::to_string(release) +
                     "/, which Javas before " + std::to_string(release) + " do not read; --java " + options.javaRange +
                     " admits " + lowest);
  }
}

bool plausibleClassName(const std::string& name) {
  if (name.empty() || name.front() == '.' || name.back() == '.') return false;
  return name.find_first_of(" \t\\;[") == std::string::npos && name.find("..") == std::string::npos;
}

}  // namespace

std::string baseName(const std::string& path) {
  std::string::size_type slash = path.rfind('/');
  return slash == std::string::npos ? path : path.substr(slash + 1);
}

MainJar inspectJars(const JarLauncherOptions& options) {
  std::unique_ptr<ZipDirectory> jar = openJar(options.mainJar, "--main-jar");
  std::vector<std::unique_ptr<ZipDirectory>> classPath;
  for (const std::string& path : options.classPathJars) classPath.push_back(openJar(path, "--class-path"));

  MainJar result;
  std::string name = baseName(options.mainJar);
  if (name.size() > 4 && name.compare(name.size() - 4, 4, ".jar") == 0) name.erase(name.size() - 4);
  result.defaultTitle = name;
  if (const ZipEntry* entry = jar->findIgnoringCase(kManifestName)) {
    std::string text;
    try {
      text = jar->read(*entry, kMaxManifestSize);
    } catch (const ZipError& e) {
      throw UsageError(std::string(e.what()) + " (given as --main-jar)");
    }
    JarManifest manifest(text);
    result.mainClass = manifest.value("Main-Class");
    if (!manifest.value("Implementation-Title").empty()) result.defaultTitle = manifest.value("Implementation-Title");
    for (const char* attribute : kJarOnlyAttributes) {
      if (!manifest.value(attribute).empty())
        result.jarOnlyAttributes.push_back({attribute, manifest.value(attribute)});
    }
  }
  if (!options.mainClass.empty()) result.mainClass = options.mainClass;
  if (result.mainClass.empty()) {
    throw UsageError(options.mainJar +
                     " names no main class (its manifest has no Main-Class): give one with "
                     "--main-class CLASS");
  }
  if (!plausibleClassName(result.mainClass)) {
    throw UsageError("'" + result.mainClass + "' is not the name of a class");
  }
  std::vector<std::string> given{options.mainJar};
  given.insert(given.end(), options.classPathJars.begin(), options.classPathJars.end());
  CarriedClassPath carried = carriedClassPath(given);
  result.manifestClassPathJars = carried.jars;
  result.classPathWarnings = carried.warnings;
  result.classPathRefusals = carried.refusals;

  unsigned long release = 0;
  const ZipDirectory* holder = jar.get();
  std::string holderPath = options.mainJar;
  const ZipEntry* entry = classEntry(*jar, result.mainClass, release);
  for (size_t i = 0; i < classPath.size() && !entry; ++i) {
    holder = classPath[i].get();
    holderPath = options.classPathJars[i];
    entry = classEntry(*holder, result.mainClass, release);
  }
  if (!entry) {
    throw UsageError("the main class " + result.mainClass + " is not in " + options.mainJar +
                     (classPath.empty() ? std::string() : " nor in a --class-path jar") + " (no class file " +
                     classFile(result.mainClass) + ")");
  }
  refuseOlderJava(*holder, holderPath, *entry, release, options);
  return result;
}
