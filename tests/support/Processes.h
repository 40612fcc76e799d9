// Helpers for tests of process-wide behaviour: signal handlers, limits and
// children that must not outlive what started them.
#pragma once

#include <sys/types.h>

#include <functional>
#include <string>

// Runs body in a forked copy of the test process, for cases that change
// process-wide state (limits, signal dispositions, fork handlers) or end the
// process. Returns the copy's exit status (body's return value; 99 when it
// threw), or minus the signal that killed it.
int InForkedProcess(const std::function<int()>& body);

// How many descriptors the process holds open, so that a test can tell
// that a call gave back every one it opened.
int OpenDescriptorCount();

// Whether the process is gone or a zombie within a few seconds: a killed
// process ends when the system next schedules it, and a zombie handed to a
// parent that does not collect it is as good as gone.
bool EndsSoon(const std::string& pid);

// Sends target the signal after millis milliseconds, from a process of its
// own, while the caller goes on.
void SignalLater(pid_t target, int signalNumber, int millis);

// The first line of the file, without its line feed, once it exists and
// holds one (waits up to a minute; empty when it never does).
std::string WaitForLine(const std::string& path);

// What /bin/sh printed for command on its standard output; a message in
// parentheses (with the output) when the shell could not run or failed.
std::string ShellOutput(const std::string& command);
