// The steps both one-command forms share: reading the jars, making the
// files, and the archive members a launcher of them holds.
#pragma once

#include <string>
#include <vector>

#include "JarLauncherOptions.h"
#include "LauncherScripts.h"
#include "MainJar.h"
#include "archive/ArchiveWriter.h"

struct JarLauncher {
  MainJar jar;
  LauncherScripts scripts;
};

// Reads the jars (throws UsageError) and tells on standard error each file
// a manifest's Class-Path makes it carry, what of the manifests the
// launcher cannot carry over, and a --jvm-option name that looks like a
// variable but is passed as it is; throws UsageError, after naming them
// all, when a Class-Path names a missing file or one that is no zip file.
JarLauncher planJarLauncher(const JarLauncherOptions& options);

// The members of the launcher: the verification jar, the instructions, the
// launch script and the JVM description from files (the paths
// writeLauncherFileSet returns), then the jar, the jars its manifest's
// Class-Path names and the --class-path jars.
std::vector<ArchiveMember> jarLauncherMembers(const std::vector<std::string>& files, const JarLauncherOptions& options,
                                              const MainJar& jar);

// How each of those members is stored: the jars as jarCompression says,
// the files lxpack made as they are.
std::vector<EntryCompression> jarLauncherCompression(const std::vector<ArchiveMember>& members,
                                                     EntryCompression jarCompression);

// The JVM description is made from --java alone, so what the launcher would
// refuse in it is a wrong command line: throws UsageError after printing
// the reasons (with hiddenDirectory/ left out of them).
void refuseUnreadableRange(const std::vector<ArchiveMember>& members, const JarLauncherOptions& options,
                           const std::string& hiddenDirectory);
