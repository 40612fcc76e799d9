#include "launch/JvmStartWatch.h"

#include <errno.h>
#include <sys/inotify.h>
#include <unistd.h>

#include <algorithm>
#include <cstring>

#include "jvm/RuntimeFiles.h"

namespace {

// A handful of events is what a launch makes; the buffer only needs to
// hold one of the largest (a file watch's events carry no name).
const size_t kEventBufferBytes = 4096;

// What java's launcher writes when it cannot load the main class: the JVM
// runs and looks for it, so the failure is the program's (or its class
// path's). The notes java prints about options taken from the environment
// may come first.
const char kMainClassMissing[] = "Error: Could not find or load main class ";

bool startsWith(const SString& text, const char* prefix) {
  const SString::size_type length = std::strlen(prefix);
  return text.length() >= length && text.compare(0, length, prefix) == 0;
}

bool environmentNote(const SString& line) {
  return startsWith(line, "Picked up ") || startsWith(line, "NOTE: Picked up ");
}

SString firstErrorLine(const SString& errorOutput) {
  SString::size_type start = 0;
  while (start < errorOutput.length()) {
    SString::size_type end = errorOutput.find('\n', start);
    SString line = errorOutput.substr(start, end == SString::npos ? SString::npos : end - start);
    if (!environmentNote(line)) return line;
    if (end == SString::npos) break;
    start = end + 1;
  }
  return SString();
}

}  // namespace

JvmStartWatch::JvmStartWatch(const SString& executable) : events_(inotify_init1(IN_NONBLOCK | IN_CLOEXEC)) {
  SString home;
  if (!events_.isOpen() || !runtimeHome(executable, home)) return;
  for (int i = 0; i < kRuntimeFileCount; ++i) {
    if (!kRuntimeFiles[i].classLibrary) continue;
    const SString path = home + "/" + kRuntimeFiles[i].name;
    int watch = inotify_add_watch(events_.get(), path.c_str(), IN_OPEN);
    if (watch >= 0) classLibraryWatches_.push_back(watch);
  }
}

void JvmStartWatch::watchProgramArchive(const SString& path) {
  if (classLibraryWatches_.empty() || path.empty()) return;
  archiveWatch_ = inotify_add_watch(events_.get(), path.c_str(), IN_OPEN);
}

bool JvmStartWatch::programReached() {
  if (archiveWatch_ < 0) return false;
  bool classLibraryOpened = false;
  bool reached = false;
  alignas(struct inotify_event) char buffer[kEventBufferBytes];
  for (;;) {
    ssize_t n = ::read(events_.get(), buffer, sizeof buffer);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) break;
    for (ssize_t at = 0; at < n;) {
      const struct inotify_event* event = reinterpret_cast<const struct inotify_event*>(buffer + at);
      // Events were lost: what is left cannot show an order.
      if (event->mask & IN_Q_OVERFLOW) return false;
      if (event->mask & IN_OPEN) {
        if (std::find(classLibraryWatches_.begin(), classLibraryWatches_.end(), event->wd) !=
            classLibraryWatches_.end()) {
          classLibraryOpened = true;
        } else if (event->wd == archiveWatch_ && classLibraryOpened) {
          reached = true;
        }
      }
      at += static_cast<ssize_t>(sizeof(struct inotify_event) + event->len);
    }
  }
  events_ = FileDescriptor();
  archiveWatch_ = -1;
  return reached;
}

bool jvmMayNotHaveStarted(const LaunchEnd& end) {
  if (end.status >= 126 || end.status < 0) return true;
  if (end.programReached) return false;
  return !(end.status == 1 && startsWith(firstErrorLine(end.errorOutput), kMainClassMissing));
}
