// The instructions do their real work through the launcher's controller:
// finding, verifying, installing and launching a JVM. The interpreter only
// parses arguments and calls these operations, so it never depends on the
// launcher core and can be tested and fuzzed against a fake.
//
// The operations report back through the script variables (N1, S1, S2) or
// their return value; their failures are LauncherExceptions that end the
// script.
#pragma once

#include "base/SString.h"

class ControllerOperations {
 public:
  // found: N1 = 1, S1 = JVM home, S2 = JVM description file; else N1 = 0,
  // S1 and S2 empty.
  virtual void findJVM(bool showUI, bool showFailMsg) = 0;
  virtual void initializeUI() = 0;
  // installed: N1 = 1, S1 = the installed JVM's description file; else
  // N1 = 0, S1 empty.
  virtual void installBundledJVM(long mode) = 0;
  // Both return the launched application's exit status, -1 when nothing ran.
  virtual int launchJVMFile(const SString& path, short seconds) = 0;
  virtual int launchInternal(long fileId, short seconds) = 0;
  // valid: N1 = 1, S1 = JVM home; invalid: N1 = 0.
  virtual void verifyJVMFile(bool showUI, bool showFailMsg, long fileId) = 0;
  // Replaces the process image on success; returns only when it could not.
  virtual void executeEmbeddedLauncher(long position) = 0;

 protected:
  ~ControllerOperations() {}
};
