// Runs a JVM verification command through a launch script, which captures
// its output and stops it, with every process it started, at the time limit.
// The launch script is made with the run context of the JVM description it
// verifies.
#pragma once

#include "jvm/VerificationRunner.h"

VerificationRunner& launchScriptVerificationRunner();
