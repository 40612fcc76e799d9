// The launcher's settings: filled from the command line at the start of a
// run. The paths and the options the lower folders need reach them through
// the run context (RunState.h), which refers to this one object, so a value
// set while the options are read is the value they see.
#pragma once

#include "base/Deque.h"
#include "base/LauncherPaths.h"
#include "base/UserOptions.h"

struct LauncherSettings : LauncherPaths, UserOptions {
  StringDeque passOnArgs;  // every argument that is not an option
  StringDeque allArgs;     // every argument, options included
  int javaConsole = 0;     // -lx:javaconsole
};

LauncherSettings& settings();
