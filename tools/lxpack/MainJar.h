// What lxpack learns from the packager's jars before it writes a launcher
// around them: the main class (given, or named by the main jar's
// manifest), that the class is really in one of the jars, and a title for
// the launcher. A jar that cannot be read, or a main class that is not
// there, is a mistake on the command line: the launcher would be written
// and then fail on every user's machine.
#pragma once

#include <string>
#include <vector>

#include "JarLauncherOptions.h"
#include "JarOnlyAttributes.h"
#include "ManifestClassPath.h"

struct MainJar {
  std::string mainClass;
  // The manifest's Implementation-Title, else the jar's name without .jar.
  std::string defaultTitle;
  // Attributes of the manifest that only `java -jar` applies, which the
  // launcher's command (a class path and a main class) leaves out, with
  // their values.
  std::vector<ManifestAttribute> jarOnlyAttributes;
  // The jars the manifests' Class-Path names, to carry and put on the class
  // path after the main jar, why others named there are left to java, and
  // what makes the jars unfit to pack (see CarriedClassPath).
  std::vector<CarriedJar> manifestClassPathJars;
  std::vector<std::string> classPathWarnings;
  std::vector<std::string> classPathRefusals;
};

// Reads options.mainJar and options.classPathJars, and the jars their
// manifests name; throws UsageError naming the jar and what is wrong with it.
MainJar inspectJars(const JarLauncherOptions& options);

std::string baseName(const std::string& path);
