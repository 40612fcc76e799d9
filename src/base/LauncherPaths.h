// Where the running launcher is: its own file, the file its archive is read
// from and the file the user started. The launcher fills them from its
// command line; the code below it reads them from the run context it is
// handed, never from a process-wide object.
#pragma once

#include "base/SString.h"

struct LauncherPaths {
  SString launcherPath;      // absolute path of the running executable
  SString runningFile;       // opens that very file (/proc/self/exe); empty: use launcherPath
  SString origLauncherPath;  // -lx:orig, else launcherPath

  // The file the archive is read from: the running executable itself.
  SString fileToRead() const { return runningFile.empty() ? launcherPath : runningFile; }
  // origLauncherPath cut before its last '/' or '\'; empty when it has neither.
  SString origLauncherDir() const;
};
