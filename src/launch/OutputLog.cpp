#include "launch/OutputLog.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>

OutputLog::OutputLog(const SString& logFile) {
  if (!logFile.empty())
    fd_ = FileDescriptor(open(logFile.c_str(), O_WRONLY | O_APPEND | O_CREAT | O_CLOEXEC | O_NOCTTY, 0666));
}

OutputLog::~OutputLog() {
  if (!atLineStart_) writeAll("\n", 1);
}

void OutputLog::writeAll(const char* bytes, size_t length) {
  // Logging never fails the run: a full disk loses log lines, not the wizard.
  while (fd_.isOpen() && length > 0) {
    ssize_t n = ::write(fd_.get(), bytes, length);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) return;
    bytes += n;
    length -= static_cast<size_t>(n);
  }
}

void OutputLog::write(int stream, const char* bytes, size_t length) {
  if (!fd_.isOpen() || length == 0) return;
  if (stream != lastStream_) {
    if (!atLineStart_) writeAll("\n", 1);
    static const char* const kHeadings[] = {"StdOut:\n", "ErrOut:\n"};
    const char* heading = kHeadings[stream == 0 ? 0 : 1];
    writeAll(heading, 8);
    lastStream_ = stream;
  }
  writeAll(bytes, length);
  atLineStart_ = bytes[length - 1] == '\n';
}
