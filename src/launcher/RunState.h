// The launcher's one archive object and the run context made of it, of
// settings() and of the verification through a launch script: everything
// the folders below reach of the launcher's state, they are handed through
// runContext().
#pragma once

#include "archive/LauncherFile.h"
#include "jvm/RunContext.h"

LauncherFile& launcherFile();
const RunContext& runContext();
