// The instructions do their real work through the launcher's controller:
// finding, verifying, installing and launching a JVM. The interpreter only
// parses arguments and calls these operations, so it never depends on the
// launcher core and can be tested and fuzzed against a fake.
//
// The operations report back through their return value, which the
// interpreter puts into the script variables (N1, S1, S2); their failures
// are LauncherExceptions that end the script.
#pragma once

#include "base/SString.h"

// What FIND_JVM found: the JVM's home and the description file written for
// it; both empty when nothing was found.
struct FoundJvm {
  bool found = false;
  SString home;
  SString descriptionFile;
};

// What INSTALL_JVM installed: the installed JVM's description file; empty
// when nothing was installed.
struct InstalledJvm {
  bool installed = false;
  SString descriptionFile;
};

// What VERIFY made of the description: the home it verified, when valid.
struct VerifiedJvm {
  bool valid = false;
  SString home;
};

class ControllerOperations {
 public:
  virtual FoundJvm findJVM(bool showUI, bool showFailMsg) = 0;
  virtual void initializeUI() = 0;
  virtual InstalledJvm installBundledJVM(long mode) = 0;
  // Both return the launched application's exit status, -1 when nothing ran.
  virtual int launchJVMFile(const SString& path, short seconds) = 0;
  virtual int launchInternal(long fileId, short seconds) = 0;
  virtual VerifiedJvm verifyJVMFile(bool showUI, bool showFailMsg, long fileId) = 0;
  // Replaces the process image on success; returns only when it could not.
  virtual void executeEmbeddedLauncher(long position) = 0;

 protected:
  ~ControllerOperations() {}
};
