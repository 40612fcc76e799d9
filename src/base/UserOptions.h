// What the user asked for on the command line that the JVM search and the
// launch scripts act on. The launcher fills it while it reads its options;
// the code below it reads it from the run context.
#pragma once

#include "base/SString.h"

struct UserOptions {
  SString javaHome;   // -lx:javahome
  SString cpPrepend;  // -cp:p
  SString cpAppend;   // -cp:a
};
