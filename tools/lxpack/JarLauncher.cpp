#include "JarLauncher.h"

#include <cstdio>

#include "JarOnlyAttributes.h"
#include "JvmOptionFolders.h"
#include "PackagingMistakes.h"
#include "Usage.h"
#include "archive/FileIndexEntry.h"

namespace {

ArchiveMember member(int type, const std::string& path, size_t position) {
  ArchiveMember m;
  m.type = type;
  m.id = static_cast<uint32_t>(position);
  m.sourcePath = path.c_str();
  m.name = baseName(path).c_str();
  return m;
}

}  // namespace

JarLauncher planJarLauncher(const JarLauncherOptions& options) {
  JarLauncher launcher;
  launcher.jar = inspectJars(options);
  for (const JarOnlyAdvice& advice : jarOnlyAdvice(launcher.jar.jarOnlyAttributes, options.jvmOptions)) {
    std::fprintf(stderr, "lxpack: warning: %s\n", jarOnlyWarning(options.mainJar, advice).c_str());
  }
  // Every file a manifest pulls in is named, with the manifest that asked
  // for it: a dependency's manifest can name any file of this machine.
  for (const CarriedJar& carried : launcher.jar.manifestClassPathJars) {
    std::fprintf(stderr, "lxpack: carrying %s from %s: the Class-Path of %s names %s\n", baseName(carried.path).c_str(),
                 carried.path.c_str(), carried.namedIn.c_str(), carried.entry.c_str());
  }
  for (const std::string& warning : launcher.jar.classPathWarnings) {
    std::fprintf(stderr, "lxpack: warning: %s\n", warning.c_str());
  }
  for (const std::string& refusal : launcher.jar.classPathRefusals) {
    std::fprintf(stderr, "lxpack: %s\n", refusal.c_str());
  }
  if (!launcher.jar.classPathRefusals.empty()) {
    throw UsageError("nothing written to " + options.output +
                     ": a manifest's Class-Path names what the launcher cannot carry");
  }
  for (const std::string& option : options.jvmOptions) {
    for (const std::string& name : readJvmOption(option).unknownNames) {
      std::fprintf(stderr,
                   "lxpack: warning: --jvm-option '%s' passes %s to java as it is: $APP_DIR and $LAUNCHER_DIR are "
                   "the only names replaced (write $$ for a dollar)\n",
                   option.c_str(), name.c_str());
    }
  }
  launcher.scripts = makeLauncherScripts(options, launcher.jar);
  return launcher;
}

std::vector<ArchiveMember> jarLauncherMembers(const std::vector<std::string>& files, const JarLauncherOptions& options,
                                              const MainJar& jar) {
  std::vector<ArchiveMember> members;
  const int generatedTypes[] = {FT_VERIFY, FT_INSTRUCTIONS, FT_LAUNCH_SCRIPT, FT_JVM};
  const size_t generatedFiles[] = {3, 0, 2, 1};
  for (size_t i = 0; i < 4; ++i) {
    members.push_back(member(generatedTypes[i], files[generatedFiles[i]], members.size()));
  }
  members.push_back(member(FT_APPLICATION, options.mainJar, members.size()));
  // Java puts a jar's Class-Path right after the jar, before the rest.
  for (const CarriedJar& carried : jar.manifestClassPathJars) {
    members.push_back(member(FT_CLASSPATH, carried.path, members.size()));
  }
  for (const std::string& jar : options.classPathJars) members.push_back(member(FT_CLASSPATH, jar, members.size()));
  if (!options.appDir.empty()) members.push_back(member(FT_APP_DIR, options.appDir, members.size()));
  return members;
}

std::vector<EntryCompression> jarLauncherCompression(const std::vector<ArchiveMember>& members,
                                                     EntryCompression jarCompression) {
  std::vector<EntryCompression> compression;
  for (const ArchiveMember& m : members) {
    const bool jar = m.type == FT_APPLICATION || m.type == FT_CLASSPATH;
    compression.push_back(jar ? jarCompression : EntryCompression::kNone);
  }
  return compression;
}

void refuseUnreadableRange(const std::vector<ArchiveMember>& members, const JarLauncherOptions& options,
                           const std::string& hiddenDirectory) {
  std::string description;
  for (const ArchiveMember& m : members) {
    if (m.type == FT_JVM) description = m.sourcePath.c_str();
  }
  bool refused = false;
  for (std::string mistake : packagingMistakes(members)) {
    if (mistake.find(description) == std::string::npos) continue;
    const std::string hidden = hiddenDirectory.empty() ? std::string() : hiddenDirectory + "/";
    for (std::string::size_type at; !hidden.empty() && (at = mistake.find(hidden)) != std::string::npos;) {
      mistake.erase(at, hidden.size());
    }
    std::fprintf(stderr, "lxpack: %s\n", mistake.c_str());
    refused = true;
  }
  if (refused) throw UsageError("--java " + options.javaRange + " is no range of Java versions the launcher can read");
}
