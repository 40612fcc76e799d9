// The options of the one-command forms, `lxpack create --main-jar JAR ...`
// and `lxpack init --main-jar JAR ...`: what a packager says about a
// program (its jar, the Java versions it runs on, whether it is a
// command-line program), from which lxpack writes every file of the
// launcher itself.
#pragma once

#include <string>
#include <vector>

#include "Arguments.h"
#include "CreatePlan.h"

struct JarLauncherOptions {
  std::string mainJar;
  std::string mainClass;  // empty: the jar's manifest names it
  std::string javaRange;
  bool cli = false;
  bool titleGiven = false;
  std::string title;
  std::string javaDownloadUrl;
  std::vector<std::string> jvmOptions;
  std::vector<std::string> classPathJars;
  // The program's own folder, carried whole and unpacked before the start;
  // the program finds it through the system property appDirProperty.
  std::string appDir;
  std::string appDirProperty = "lx.app.dir";
  std::string output;
  // create only: the launcher program to put first.
  std::string stub;
  std::string architecture;
  // create only: the secret key that signs the launcher.
  std::string signingKey;
  // create only: how the program's jar and the jars it carries are stored
  // (--compress, --no-compress; by default deflated where that saves).
  EntryCompression jarCompression = EntryCompression::kDeflateWhenWorthIt;
};

// True when the command line (after the command's name) uses an option of
// the one-command form of create (--main-jar, --java, ...).
bool usesJarForm(int argc, char** argv, int first);

// Reads the options; throws UsageError for a wrong or incomplete command
// line. withProgram: the command makes a launcher, so --arch and --stub
// are known options (create); init writes files only.
JarLauncherOptions parseJarLauncherOptions(Arguments& args, bool withProgram);

// Why --java RANGE is no range of Java versions, in the words of the
// option; empty when it is one.
std::string javaRangeMistake(const std::string& range);
