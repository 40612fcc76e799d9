#include "launch/OutputLog.h"

#include <fcntl.h>
#include <sys/mman.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <utility>

namespace {

// The last part is held in memory: it may be no larger than this, so that
// the launcher and the keeper of late output stay small.
const uint64_t kTailMost = 16u * 1024 * 1024;
// Room in every budget for the line that tells what was left out, and the
// line ends around it.
const uint64_t kNoteRoom = 160;
const char* const kHeadings[] = {"StdOut:\n", "ErrOut:\n"};
const uint64_t kHeadingLength = 8;
// What a run of one stream in the last part costs beyond its bytes: its
// heading, and the line end before it when the run before ended amid a
// line.
const uint64_t kHeadingCost = kHeadingLength + 1;

}  // namespace

FileDescriptor OutputLog::openFile(const SString& logFile) {
  if (logFile.empty()) return FileDescriptor();
  return FileDescriptor(open(logFile.c_str(), O_WRONLY | O_APPEND | O_CREAT | O_CLOEXEC | O_NOCTTY, 0666));
}

OutputLog::OutputLog(FileDescriptor log, uint64_t budget, const char* title) : fd_(std::move(log)), title_(title) {
  tailRoom_ = budget / 3 < kTailMost ? budget / 3 : kTailMost;
  headLimit_ = budget > tailRoom_ + kNoteRoom ? budget - tailRoom_ - kNoteRoom : 0;
}

OutputLog::~OutputLog() {
  finish();
  if (ring_) munmap(ring_, mappedSize_);
}

void OutputLog::writeAll(const char* bytes, size_t length) {
  written_ += length;
  // Logging never fails the run: a full disk loses log lines, not the wizard.
  while (fd_.isOpen() && length > 0) {
    ssize_t n = ::write(fd_.get(), bytes, length);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) return;
    bytes += n;
    length -= static_cast<size_t>(n);
  }
}

void OutputLog::writeHeading(int stream) {
  if (!atLineStart_) writeAll("\n", 1);
  writeAll(kHeadings[stream == 0 ? 0 : 1], kHeadingLength);
  lastStream_ = stream;
  atLineStart_ = true;
}

void OutputLog::write(int stream, const char* bytes, size_t length) {
  if (!fd_.isOpen() || length == 0 || finished_) return;
  if (title_) {
    writeAll(title_, std::strlen(title_));
    title_ = nullptr;
  }
  if (!holding_) {
    size_t taken = writeHead(stream, bytes, length);
    if (taken == length) return;
    bytes += taken;
    length -= taken;
    holding_ = true;
  }
  hold(stream, bytes, length);
}

// Writes as much of the block as the first part has room for, and returns
// how much that was.
size_t OutputLog::writeHead(int stream, const char* bytes, size_t length) {
  const uint64_t heading = stream != lastStream_ ? (atLineStart_ ? 0 : 1) + kHeadingLength : 0;
  if (written_ + heading >= headLimit_) return 0;
  const uint64_t room = headLimit_ - written_ - heading;
  const size_t taken = room < length ? static_cast<size_t>(room) : length;
  if (stream != lastStream_) writeHeading(stream);
  writeAll(bytes, taken);
  atLineStart_ = bytes[taken - 1] == '\n';
  return taken;
}

bool OutputLog::allocateRing() {
  ringSize_ = tailRoom_;
  // Every run costs at least a heading and a byte: this many always do.
  segmentSlots_ = ringSize_ / (kHeadingCost + 1) + 1;
  mappedSize_ = static_cast<size_t>(ringSize_ + segmentSlots_ * sizeof(Segment));
  // Pages are taken only as the output reaches them.
  void* mapped = mmap(nullptr, mappedSize_, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS | MAP_NORESERVE, -1, 0);
  if (mapped == MAP_FAILED) {
    ringSize_ = 0;
    return false;
  }
  segments_ = static_cast<Segment*>(mapped);
  ring_ = static_cast<char*>(mapped) + segmentSlots_ * sizeof(Segment);
  return true;
}

uint64_t OutputLog::ringCost() const { return ringBytes_ + kHeadingCost * segmentCount_; }

// Leaves out the oldest count bytes held (no more than the first run has).
void OutputLog::dropFront(uint64_t count) {
  Segment& front = segments_[firstSegment_];
  front.length -= static_cast<uint32_t>(count);
  ringStart_ = (ringStart_ + count) % ringSize_;
  ringBytes_ -= count;
  leftOut_ += count;
  if (front.length == 0) {
    firstSegment_ = (firstSegment_ + 1) % segmentSlots_;
    --segmentCount_;
  }
}

// Keeps the block as the newest of the last part, leaving out the oldest
// bytes it has no room for.
void OutputLog::hold(int stream, const char* bytes, size_t length) {
  if (!ring_ && (tailRoom_ <= kHeadingCost || !allocateRing())) {
    leftOut_ += length;
    return;
  }
  const uint64_t most = tailRoom_ - kHeadingCost;
  if (length > most) {
    leftOut_ += length - most;
    bytes += length - most;
    length = static_cast<size_t>(most);
  }
  // Room for the block as a run of its own, whether or not it joins the
  // last one.
  for (uint64_t cost; (cost = ringCost() + length + kHeadingCost) > tailRoom_;) {
    const uint64_t front = segments_[firstSegment_].length;
    dropFront(cost - tailRoom_ < front ? cost - tailRoom_ : front);
  }
  uint64_t at = (ringStart_ + ringBytes_) % ringSize_;
  const uint64_t first = ringSize_ - at < length ? ringSize_ - at : length;
  std::memcpy(ring_ + at, bytes, static_cast<size_t>(first));
  std::memcpy(ring_, bytes + first, static_cast<size_t>(length - first));
  ringBytes_ += length;
  Segment& last = segments_[(firstSegment_ + segmentCount_ + segmentSlots_ - 1) % segmentSlots_];
  if (segmentCount_ > 0 && last.stream == stream) {
    last.length += static_cast<uint32_t>(length);
  } else {
    segments_[(firstSegment_ + segmentCount_) % segmentSlots_] = Segment{static_cast<uint32_t>(length), stream};
    ++segmentCount_;
  }
}

// Writes the note of what was left out, when anything was, and the last
// part, each run of it under its heading.
void OutputLog::writeHeld() {
  if (leftOut_ > 0 && segmentCount_ > 0) {
    // A line cut at its start tells nothing: the last part starts at the
    // next line of its first run, when that run has one.
    const uint64_t length = segments_[firstSegment_].length;
    for (uint64_t i = 0; i < length; ++i) {
      if (ring_[(ringStart_ + i) % ringSize_] == '\n') {
        if (i + 1 < ringBytes_) dropFront(i + 1);
        break;
      }
    }
  }
  if (leftOut_ > 0) {
    if (!atLineStart_) writeAll("\n", 1);
    char note[kNoteRoom];
    int n = std::snprintf(note, sizeof note,
                          "[%llu bytes of output left out here: the log keeps the beginning and the end of a "
                          "command's output]\n",
                          static_cast<unsigned long long>(leftOut_));
    // The note is far shorter than its room.
    if (n > 0) writeAll(note, static_cast<size_t>(n));
    atLineStart_ = true;
    // The last part names its stream whichever came before the gap.
    lastStream_ = -1;
  }
  for (uint64_t i = 0; i < segmentCount_; ++i) {
    const Segment& segment = segments_[(firstSegment_ + i) % segmentSlots_];
    if (segment.stream != lastStream_) writeHeading(segment.stream);
    const uint64_t first = ringSize_ - ringStart_ < segment.length ? ringSize_ - ringStart_ : segment.length;
    writeAll(ring_ + ringStart_, static_cast<size_t>(first));
    writeAll(ring_, static_cast<size_t>(segment.length - first));
    ringStart_ = (ringStart_ + segment.length) % ringSize_;
    atLineStart_ = ring_[(ringStart_ + ringSize_ - 1) % ringSize_] == '\n';
  }
}

uint64_t OutputLog::finish() {
  if (!finished_ && fd_.isOpen()) {
    if (holding_) writeHeld();
    if (!atLineStart_) writeAll("\n", 1);
  }
  finished_ = true;
  return written_;
}
