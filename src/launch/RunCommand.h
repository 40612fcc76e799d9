// Every program the launcher starts goes through runCommand: the wizard, the
// JVM verification runs, a bundled JVM installer and the hand-over to an
// embedded launcher. Commands run through /bin/sh -c, so the quoting,
// redirections and variable references of a command line work as in a
// terminal.
#pragma once

#include <cstddef>

#include "base/SString.h"

// Bounds for a child that might never end, such as a candidate JVM under
// verification. The plain launch passes none.
struct RunLimits {
  int timeoutSeconds = 0;        // 0: wait as long as the child runs
  bool ownProcessGroup = false;  // the child leads its own group, killed as a whole
  bool expired = false;          // out: the time ran out and the group was killed
  size_t outputLimit = 0;        // 0: keep all; else the most bytes kept of each captured stream
  bool outputExceeded = false;   // out: a stream went past the limit and the child was killed
  // Not 0: each captured stream goes to the log as it comes, and its text
  // keeps only the last tail bytes (see CapturedOutput::streamTo).
  size_t tail = 0;
};

// How runCommand runs a command. As made, it runs in the current
// directory, shows its output where the launcher's goes and is waited for.
struct CommandOptions {
  SString workingDir;  // empty: the current directory
  // The child's standard output and error are read by the launcher and
  // appended to stdoutText and stderrText; a null text discards its stream.
  bool capture = false;
  SString* stdoutText = nullptr;
  SString* stderrText = nullptr;
  // The command is split into words and replaces the launcher's process
  // image instead of running as a child, in the launcher's own directory.
  bool replaceProcess = false;
  RunLimits* limits = nullptr;

  CommandOptions& inDirectory(const SString& dir) {
    workingDir = dir;
    return *this;
  }
  CommandOptions& captureInto(SString* out, SString* err) {
    capture = true;
    stdoutText = out;
    stderrText = err;
    return *this;
  }
  CommandOptions& replacingTheLauncher() {
    replaceProcess = true;
    return *this;
  }
  CommandOptions& limitedBy(RunLimits* bounds) {
    limits = bounds;
    return *this;
  }
};

// Runs command as options say and returns the child's exit code once it
// has ended; a child killed by a signal gives 128 + its number. One text
// for both captured streams gets the standard output first, then the error
// output. When the command replaces the launcher's process, the call only
// returns, with 0, when that failed. Throws LauncherException when the
// child cannot be started.
//
// A signal that asks the launcher to end is passed on to the running child
// (see ChildSignals); once the child has ended, or before anything is
// started when the signal came earlier, TerminationRequest is thrown.
int runCommand(const SString& command, const CommandOptions& options = CommandOptions());
