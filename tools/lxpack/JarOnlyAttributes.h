// Attributes of a jar's manifest that java applies only when it runs the jar
// with `java -jar`: opening or exporting a module's packages to the
// program's classes (Add-Opens, Add-Exports), letting them call native code
// (Enable-Native-Access), and starting an agent first (Launcher-Agent-Class).
// A launcher runs the main class from a class path, where java reads none
// of them; the first three have command-line options of java that do the
// same, which the packager passes with --jvm-option. So lxpack tells which
// options, written so that they can be copied, and says nothing once they
// are given.
#pragma once

#include <string>
#include <vector>

struct ManifestAttribute {
  std::string name;
  std::string value;
};

// The manifest attributes that only `java -jar` applies, in a fixed order,
// those of them the manifest has (a value that is not empty).
extern const char* const kJarOnlyAttributes[4];

struct JarOnlyAdvice {
  std::string attribute;
  std::string value;
  // The java options that do what the attribute does and that the
  // --jvm-options given lack, each one argument of java
  // (--add-opens=java.base/java.lang=ALL-UNNAMED).
  std::vector<std::string> missingOptions;
  // False when no java option does what the attribute does
  // (Launcher-Agent-Class, or a value java -jar itself refuses).
  bool expressible = true;
};

// For each attribute: what the launcher's java still lacks. An attribute
// whose options are all among jvmOptions is left out; so is one whose value
// names nothing.
std::vector<JarOnlyAdvice> jarOnlyAdvice(const std::vector<ManifestAttribute>& attributes,
                                         const std::vector<std::string>& jvmOptions);

// The warning for one piece of advice, without "lxpack: warning: ": the
// attribute, why the launcher does not apply it, and the --jvm-option
// arguments to copy onto lxpack's command line (quoted for a shell where
// they need it).
std::string jarOnlyWarning(const std::string& jarPath, const JarOnlyAdvice& advice);
