// A signal that ends the launcher on the spot (interrupt, quit, hang-up,
// terminate) would leave every extracted file behind. So the handlers only
// note what arrived, and check points in the steps that take time (between
// instruction lines, between extraction chunks, in the disk search, when a
// child process ends) turn the note into a TerminationRequest. It unwinds
// to the top level like a failure, the normal clean-up runs, and the
// launcher ends with 128 + the signal number, as a shell reports a process
// that the signal killed.
#pragma once

#include <signal.h>
#include <sys/types.h>

// Not a LauncherException: code that logs a failure and moves on (a bad JVM
// candidate, say) must not swallow the user's request to stop.
class TerminationRequest {
 public:
  explicit TerminationRequest(int signalNumber) : signalNumber_(signalNumber) {}
  int signalNumber() const { return signalNumber_; }
  int exitStatus() const { return 128 + signalNumber_; }

 private:
  int signalNumber_;
};

// Handles SIGINT, SIGQUIT, SIGHUP and SIGTERM from now on, and gives SIGCHLD
// its default back when it was ignored. A signal that was
// ignored when the launcher started (nohup, a background job of a script)
// stays ignored, for the launcher and for every child it starts. SIGPIPE is
// ignored by the launcher (a closed console must not cost the clean-up);
// its children get it as the launcher got it.
void InstallTerminationHandlers();
// SIGPIPE ignored by the launcher, or back as it was at the start, for a
// program that replaces the launcher's process image (and ignored again
// when that failed); BrokenPipeAsStarted tells whether it changed it.
void IgnoreBrokenPipe();
bool BrokenPipeAsStarted();

// The signal that asked the launcher to end; 0 while none did. The first
// one counts.
int TerminationSignal();
void RequestTermination(int signalNumber);
// The check point: throws TerminationRequest once a signal asked to end.
void CheckTermination();

// The signals while one child process runs. The child shares the terminal:
// when it is in the launcher's process group, the terminal's interrupt and
// quit reach it directly and it decides what they mean, so the launcher only
// notes them (as the C library's system() ignores them); it ends too only
// when the child was killed by that signal. An interrupt sent to the
// launcher alone is passed on to the child, and an interrupt gives the
// child the same grace as a request to end (interruptPending): a child
// that has not ended when it is over is killed. Hang-up and terminate, and
// every signal while the child has a process group of its own, are for the
// launcher: they are noted and must be passed on to the child.
//
// From construction to started() the handled signals are blocked, so none
// can arrive between fork and the moment the child is known.
class ChildSignals {
 public:
  explicit ChildSignals(bool ownProcessGroup);
  ~ChildSignals();
  ChildSignals(const ChildSignals&) = delete;
  ChildSignals& operator=(const ChildSignals&) = delete;

  // In the child, before exec: the dispositions and the signal mask the
  // launcher was started with. Only async-signal-safe calls.
  void prepareChild() const;
  // In the parent, once fork returned the child.
  void started();
  // A signal that arrived since the last call and that the child must get
  // too, or 0.
  int takeSignalToForward();
  // An interrupt came while the child runs in the launcher's group: the
  // child decides on it, within the grace.
  bool interruptPending() const;
  // The child has ended with this wait status.
  void ended(int waitStatus);

 private:
  void restoreMask();

  bool ownProcessGroup_;
  bool blocked_;
  bool running_ = false;
  int forwarded_;
  sigset_t savedMask_;
};
