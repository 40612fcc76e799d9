#include "launch/CapturedOutput.h"

#include <sys/mman.h>
#include <unistd.h>

#include "launch/OutputLog.h"

#ifndef MADV_POPULATE_WRITE
#define MADV_POPULATE_WRITE 23
#endif

namespace {

// The first reservation; each later one doubles the capacity. Small outputs
// (a verification run prints a few lines) so stay in small buffers.
const SString::size_type kFirstRoom = 4096;
// Pages are mapped this far ahead of the reads in one step.
const SString::size_type kPopulateStep = 1024 * 1024;
const uintptr_t kPageSize = 4096;

// Where dropped output, and output streamed to the log, is read into. It is static, so its pages are mapped once and
// a read into it never faults while the pipe is locked against the writer.
char gDiscarded[256 * 1024];

ssize_t discard(int fd, size_t most) {
  return ::read(fd, gDiscarded, most < sizeof gDiscarded ? most : sizeof gDiscarded);
}

}  // namespace

CapturedOutput::~CapturedOutput() {
  if (tail_ > 0 && text_) {
    keepTail(static_cast<SString::size_type>(tail_));
    // A line cut at its start tells nothing; the log has it whole.
    SString::size_type lineEnd = text_->find('\n');
    if (cut_ && lineEnd != SString::npos && lineEnd + 1 < text_->length()) {
      text_->erase(0, lineEnd + 1);
    }
  }
  if (reserved_) text_->shrinkToFit();
}

void CapturedOutput::streamTo(OutputLog* log, int stream, size_t tail) {
  log_ = log;
  stream_ = stream;
  tail_ = tail;
}

void CapturedOutput::keepTail(SString::size_type most) {
  if (text_->length() <= most) return;
  text_->erase(0, text_->length() - most);
  cut_ = true;
}

ssize_t CapturedOutput::readStreamed(int fd, size_t most) {
  if (most > sizeof gDiscarded) most = sizeof gDiscarded;
  ssize_t n = ::read(fd, gDiscarded, most);
  if (n <= 0) return n;
  if (log_) log_->write(stream_, gDiscarded, static_cast<size_t>(n));
  if (text_) {
    text_->append(gDiscarded, static_cast<SString::size_type>(n));
    // Cut back only once twice the tail is held, so each byte is moved a
    // bounded number of times.
    if (text_->length() > 2 * tail_) keepTail(static_cast<SString::size_type>(tail_));
  }
  return n;
}

// Makes sure the text can take more characters without a copy and returns
// how many the next read may bring: at most most, and no more than the
// buffer's free room.
SString::size_type CapturedOutput::makeRoom(size_t most) {
  const uint64_t length = text_->length();
  const uint64_t left = SString::max_size - length;
  if (left == 0 || most == 0) return 0;
  const uint64_t firstRoom = left < kFirstRoom ? left : kFirstRoom;
  if (text_->capacity() - length < firstRoom) {
    uint64_t grown = 2 * static_cast<uint64_t>(text_->capacity());
    if (grown < length + firstRoom) grown = length + firstRoom;
    if (grown > SString::max_size) grown = SString::max_size;
    text_->reserve(static_cast<SString::size_type>(grown));
    reserved_ = true;
  }
  uint64_t room = text_->capacity() - length;
  if (room > most) room = most;
  return static_cast<SString::size_type>(room);
}

// A page first touched by the kernel's copy out of the pipe is faulted in
// while the pipe is locked, so the writer waits for every fault. Mapping the
// pages ahead in larger steps, outside the lock, costs far less. Kernels
// without this request simply fault as before.
void CapturedOutput::populateAhead(char* where, SString::size_type n, SString::size_type spare) {
  const uint64_t length = text_->length();
  if (length + n <= populated_) return;
  SString::size_type step = n > kPopulateStep ? n : kPopulateStep;
  if (step > spare) step = spare;
  uintptr_t from = (reinterpret_cast<uintptr_t>(where) + kPageSize - 1) & ~(kPageSize - 1);
  uintptr_t to = (reinterpret_cast<uintptr_t>(where) + step) & ~(kPageSize - 1);
  if (to > from) (void)::madvise(reinterpret_cast<void*>(from), to - from, MADV_POPULATE_WRITE);
  populated_ = length + step;
}

ssize_t CapturedOutput::readFrom(int fd, size_t most) {
  if (tail_ > 0) return readStreamed(fd, most);
  if (!text_) return discard(fd, most);
  if (limit_ > 0) {
    if (kept_ >= limit_) {
      ssize_t dropped = discard(fd, most);
      if (dropped > 0) exceeded_ = true;
      return dropped;
    }
    if (most > limit_ - kept_) most = limit_ - kept_;
  }
  const SString::size_type room = makeRoom(most);
  if (room == 0) return discard(fd, most);
  const SString::size_type spare = text_->capacity() - text_->length();
  ssize_t n = text_->appendProduced(room, [&](char* where, SString::size_type n) {
    populateAhead(where, n, spare);
    return ::read(fd, where, n);
  });
  if (n > 0) kept_ += static_cast<size_t>(n);
  return n;
}
