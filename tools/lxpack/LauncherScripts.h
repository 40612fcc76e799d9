// The three tag files of a launcher made from a jar in one command: the
// instructions (find a Java, launch), one JVM description (the versions
// asked for, found through JAVA_HOME, JDK_HOME, the usual install places
// and PATH) and the launch script (the java command, with the pass-on
// arguments added by the launcher, and the program's exit status as the
// launcher's).
#pragma once

#include <string>

#include "JarLauncherOptions.h"
#include "MainJar.h"

struct LauncherScripts {
  std::string instructions;
  std::string jvmDescription;
  std::string launchScript;
};

// The names the files have in a launcher and in the directory lxpack init
// writes.
extern const char kInstructionsName[];
extern const char kJvmDescriptionName[];
extern const char kLaunchScriptName[];
extern const char kVerifyJarName[];

LauncherScripts makeLauncherScripts(const JarLauncherOptions& options, const MainJar& jar);

// One word of the shell command a launch script runs, which reaches java
// byte for byte: in single quotes unless it needs none. The launch
// script's markers %, @ and # cannot stand in it (the launcher would read
// them as functions, JVM values and environment variables), so each is
// made by the shell instead: $(printf '\045') is a %.
std::string commandWord(const std::string& text);

// A --jvm-option as one word of that command: its text as commandWord
// makes it, and each folder it names ($APP_DIR, $LAUNCHER_DIR) as the
// launch script function that the launcher replaces by the folder's path,
// quoted so that the word stays one argument whatever the path holds.
std::string jvmOptionWord(const std::string& option);

// A tag file value on the line of its name: in double quotes (with quotes
// doubled) when it starts with a quote or blank, or ends with a blank.
std::string tagValue(const std::string& text);
