// What the java program loads to run, relative to the directory above its
// own bin directory (where the program itself looks, whatever the link it
// was started through): the JVM library of each layout (lib/server in
// current ones, lib/<arch>/server in Java 8's JRE, jre/lib/<arch>/server in
// its JDK), the file that chooses among them, the launcher library, the
// class library and the release file. The store of verified JVMs keys its
// answers on their state; a launch watches the class library to tell
// whether the JVM started.
#pragma once

#include "base/SString.h"

struct RuntimeFile {
  const char* name;  // relative to the runtime's home
  // The JVM opens it while it starts, before it loads any class of the
  // program: lib/modules, or Java 8's rt.jar.
  bool classLibrary;
};

// Every file of every layout, in a fixed order: most are missing in any
// one home.
extern const RuntimeFile kRuntimeFiles[];
extern const int kRuntimeFileCount;

// The directory the java program runs from: its real path, two levels up.
// False when its real path cannot be told.
bool runtimeHome(const SString& executable, SString& home);
