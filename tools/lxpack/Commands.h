// The lxpack commands. Each takes the arguments after its name and returns
// the exit status; a wrong command line throws UsageError, a failure of the
// work PackError.
#pragma once

#include "Arguments.h"

int runCreate(Arguments& args);
// create --main-jar JAR ...: every file of the launcher made by lxpack.
int runCreateFromJar(Arguments& args);
// init --main-jar JAR ... -o DIR: those files written out for editing.
int runInit(Arguments& args);
int runList(Arguments& args);
int runCheck(Arguments& args);
int runExtract(Arguments& args);
