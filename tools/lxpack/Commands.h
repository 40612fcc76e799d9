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
// keys -o NAME: a key pair for signing; sign -k KEY FILE...: FILE.minisig;
// verify -p PUB FILE: whether FILE is what its signature says (0) or not
// (1).
int runKeys(Arguments& args);
int runSign(Arguments& args);
int runVerify(Arguments& args);
