#include "launch/CapturedOutput.h"

#include <cstdlib>
#include <cstring>
#include <new>

CapturedOutput::~CapturedOutput() { std::free(bytes_); }

void CapturedOutput::append(const char* bytes, size_t n) {
  if (n == 0) return;
  if (size_ + n > capacity_) {
    size_t grown = capacity_ ? capacity_ : 64 * 1024;
    while (grown < size_ + n) grown *= 2;
    void* moved = std::realloc(bytes_, grown);
    if (!moved) throw std::bad_alloc();
    bytes_ = static_cast<char*>(moved);
    capacity_ = grown;
  }
  std::memcpy(bytes_ + size_, bytes, n);
  size_ += n;
}

void CapturedOutput::appendTo(SString& text) const {
  if (size_ == 0) return;
  size_t room = SString::max_size - text.length();
  size_t n = size_ < room ? size_ : room;
  text.append(bytes_, static_cast<SString::size_type>(n));
}
