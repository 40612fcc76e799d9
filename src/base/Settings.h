// The controller's process-wide settings: filled from the command line at
// the start of a run and read by every subsystem that needs to know where
// the launcher lives or what the user asked for. A leaf: it uses only base.
#pragma once

#include "base/Deque.h"
#include "base/SString.h"

struct LauncherSettings {
  SString launcherPath;      // absolute path of the running executable
  SString runningFile;       // opens that very file (/proc/self/exe); empty: use launcherPath
  SString origLauncherPath;  // -lx:orig, else launcherPath
  SString javaHome;          // -lx:javahome
  SString cpPrepend;         // -cp:p
  SString cpAppend;          // -cp:a
  StringDeque passOnArgs;    // every argument that is not an option
  StringDeque allArgs;       // every argument, options included
  int javaConsole = 0;       // -lx:javaconsole
  int originalGiven = 0;     // started with -lx:orig: remove own file at exit
  SString childOutput;       // captured output of the last LAUNCH/ILAUNCH
  SString childErrorOutput;
};

LauncherSettings& settings();

inline SString launcherPath() { return settings().launcherPath; }
// The file the archive is read from: the running executable itself.
inline SString launcherFileToRead() {
  return settings().runningFile.empty() ? settings().launcherPath : settings().runningFile;
}
inline SString origLauncherPath() { return settings().origLauncherPath; }
// origLauncherPath cut before its last '/' or '\'; empty when it has neither.
SString origLauncherDir();
