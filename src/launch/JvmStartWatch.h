// A launch that ends non-zero at once, with a JVM whose answer came from
// the store of verified JVMs, has failed either because that JVM can no
// longer start (something the store's key does not see broke it) or
// because the program failed, as compilers and linters do every day.
// Starting the JVM again to tell would double the cost of each such run,
// so the launch is watched instead: the JVM opens its class library while
// it starts, and the program's archive only when it loads the program's
// classes. java itself reads the manifest of a -jar archive, but before it
// creates the JVM, so before the class library is opened. An open of the
// archive after an open of the class library shows that the JVM started
// and reached the program.
//
// The kernel tells opens, not who made them: another JVM of the same home
// starting just before java reads a -jar manifest could pass for this one.
// Only the -jar form leaves that window, java's first milliseconds; a class
// path, which lxpack's launchers use, java does not read before the JVM.
#pragma once

#include <vector>

#include "base/OpenFiles.h"
#include "base/SString.h"

class JvmStartWatch {
 public:
  // Watches the class library of the JVM that executable runs. With none
  // to watch (no such file, no inotify here), the watch sees nothing and
  // programReached says no.
  explicit JvmStartWatch(const SString& executable);
  JvmStartWatch(const JvmStartWatch&) = delete;
  JvmStartWatch& operator=(const JvmStartWatch&) = delete;

  // The program's archive, as the launch passes it to java: once it is in
  // place, before the launch starts.
  void watchProgramArchive(const SString& path);
  // Once the launch has ended: whether the archive was opened after the
  // class library. Reads what the kernel noted, so asked once.
  bool programReached();

 private:
  FileDescriptor events_;
  std::vector<int> classLibraryWatches_;
  int archiveWatch_ = -1;
};

// How a launch ended: its status (not 0), the watch's answer, and what it
// wrote to its error output when that was captured (empty on a console).
struct LaunchEnd {
  int status;
  bool programReached;
  SString errorOutput;
};

// Whether the JVM may not have started, so that a stored answer for it
// has to be checked by starting it. Conservative: only a sign that the JVM
// ran the program says no. The shell's 126 and 127 (java could not be
// run) and a signal's 128 + n (a JVM that crashes while it starts ends so)
// always say yes.
bool jvmMayNotHaveStarted(const LaunchEnd& end);
