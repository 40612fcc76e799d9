#include "base/SString.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <new>
#include <vector>

#include "base/StringBuffers.h"

const char* const kWhiteSpace = " \t\n\r";

namespace {

const unsigned char kFrozen = 255;
const unsigned char kMaxShares = 254;
const SString::size_type kMinimumReserve = 31;

// Indexing a modifiable string out of range hands out this byte instead of
// failing. Callers must not write through it; it is reset on every use so
// one careless write cannot leak into the next caller.
char gOutOfRangeChar = '\0';

int compareBytes(const char* a, SString::size_type alen, const char* b, SString::size_type blen) {
  SString::size_type common = alen < blen ? alen : blen;
  if (common > 0) {
    int r = std::memcmp(a, b, common);
    if (r != 0) return r;
  }
  if (alen < blen) return -1;
  if (alen > blen) return 1;
  return 0;
}

bool inSet(const char* set, char c) {
  for (const char* p = set; *p; ++p)
    if (*p == c) return true;
  return false;
}

void checkLength(uint64_t n) {
  if (n > SString::max_size) throw LengthException();
}

}  // namespace

const char* SString::emptyChars() {
  static const char empty[1] = {'\0'};
  return empty;
}

SString::size_type SString::roundedCapacity(size_type n) {
  size_type rounded = n | kMinimumReserve;
  return rounded > max_size ? n : rounded;
}

char* SString::allocate(size_type capacity) {
  char* raw = AllocateStringBuffer(capacity);
  raw[0] = 0;
  return raw + 1;
}

void SString::deallocate(char* chars, size_type capacity) { FreeStringBuffer(chars - 1, capacity); }

// Resizes this object's private buffer to capacity, keeping the characters,
// the share byte and the terminator. On failure the string is unchanged.
void SString::resizeBuffer(size_type capacity) {
  char* raw = ResizeStringBuffer(chars_ - 1, capacity_, capacity, static_cast<size_t>(length_) + 2);
  if (!raw) throw std::bad_alloc();
  chars_ = raw + 1;
  capacity_ = capacity;
}

unsigned SString::shareCount() const { return chars_ ? shareByte() : 0; }

bool SString::isShared() const {
  if (!chars_) return false;
  unsigned char count = shareByte();
  return count != 0 && count != kFrozen;
}

bool SString::aliases(const char* s) const { return chars_ && s >= chars_ && s <= chars_ + capacity_; }

void SString::release() {
  if (chars_) {
    if (isShared()) {
      --shareByte();
    } else {
      deallocate(chars_, capacity_);
    }
  }
  chars_ = nullptr;
  length_ = 0;
  capacity_ = 0;
}

void SString::setLength(size_type n) {
  length_ = n;
  if (chars_) chars_[n] = '\0';
}

// Whole-string assignment shares the source buffer while it can take one
// more owner; frozen or full buffers are copied.
void SString::share(const SString& str) {
  if (&str == this) return;
  if (!str.chars_) {
    release();
    return;
  }
  unsigned char count = str.shareByte();
  if (count < kMaxShares) {
    // Take the new share before releasing ours: both may be the same buffer.
    ++str.shareByte();
    release();
    chars_ = str.chars_;
    length_ = str.length_;
    capacity_ = str.capacity_;
  } else {
    copyIn(str.chars_, str.length_);
  }
}

void SString::copyIn(const char* s, size_type n) {
  checkLength(n);
  if (n == 0) {
    release();
    return;
  }
  if (aliases(s)) {
    std::vector<char> tmp(s, s + n);
    copyIn(tmp.data(), n);
    return;
  }
  bool reuse = chars_ && !isShared() && capacity_ >= n && capacity_ <= kMinimumReserve;
  if (!reuse) {
    release();
    size_type cap = roundedCapacity(n);
    try {
      chars_ = allocate(cap);
    } catch (const std::bad_alloc&) {
      cap = n;
      chars_ = allocate(cap);
    }
    capacity_ = cap;
  }
  std::memcpy(chars_, s, n);
  setLength(n);
}

void SString::makePrivate() {
  if (!isShared()) return;
  size_type cap = roundedCapacity(length_);
  char* fresh = allocate(cap);
  std::memcpy(fresh, chars_, length_ + 1);
  --shareByte();
  chars_ = fresh;
  capacity_ = cap;
}

// Makes room for newLength characters and returns the buffer; the old
// characters stay in place. Growth follows the minimum-reserve rule only, so
// a string appended to a few characters at a time grows often: a private
// buffer is therefore resized where it lies (realloc, or remapping for a
// large one), which mostly moves no character, instead of being copied
// into a new buffer every time.
char* SString::growTo(size_type newLength) {
  checkLength(newLength);
  if (chars_ && !isShared()) {
    if (capacity_ >= newLength) return chars_;
    try {
      resizeBuffer(roundedCapacity(newLength));
    } catch (const std::bad_alloc&) {
      resizeBuffer(newLength);
    }
    // The grown buffer counts as a new one: it has a single owner and
    // hands out no reference yet, so it may be shared again.
    shareByte() = 0;
    return chars_;
  }
  size_type cap = roundedCapacity(newLength);
  char* fresh;
  try {
    fresh = allocate(cap);
  } catch (const std::bad_alloc&) {
    cap = newLength;
    fresh = allocate(cap);
  }
  if (chars_) std::memcpy(fresh, chars_, length_);
  size_type keep = length_;
  release();
  chars_ = fresh;
  capacity_ = cap;
  length_ = keep;
  return chars_;
}

SString::SString(const SString& str) : SString() { share(str); }

SString::SString(const SString& str, size_type pos, size_type n) : SString() { assign(str, pos, n); }

SString::SString(const char* s) : SString() { assign(s); }

SString::SString(const char* s, size_type n) : SString() { assign(s, n); }

SString::SString(size_type n, char c) : SString() { assign(n, c); }

SString::~SString() { release(); }

SString& SString::assign(const SString& str) {
  share(str);
  return *this;
}

SString& SString::assign(const SString& str, size_type pos, size_type n) {
  if (pos > str.length_) throw RangeException();
  size_type count = str.length_ - pos < n ? str.length_ - pos : n;
  if (&str == this) {
    // Keep the characters from pos for count characters.
    erase(pos + count);
    erase(0, pos);
    return *this;
  }
  if (pos == 0 && count == str.length_ && count > 0) {
    share(str);
  } else {
    copyIn(str.c_str() + pos, count);
  }
  return *this;
}

SString& SString::assign(const char* s) { return assign(s, static_cast<size_type>(std::strlen(s))); }

SString& SString::assign(const char* s, size_type n) {
  copyIn(s, n);
  return *this;
}

SString& SString::assign(size_type n, char c) {
  if (n == npos) throw LengthException();
  checkLength(n);
  std::vector<char> tmp(n, c);
  copyIn(tmp.data(), n);
  return *this;
}

SString& SString::append(const SString& str) { return append(str.c_str(), str.length_); }

SString& SString::append(const SString& str, size_type pos, size_type n) {
  if (pos > str.length_) throw RangeException();
  size_type count = str.length_ - pos < n ? str.length_ - pos : n;
  return append(str.c_str() + pos, count);
}

SString& SString::append(const char* s) { return append(s, static_cast<size_type>(std::strlen(s))); }

SString& SString::append(const char* s, size_type n) {
  checkLength(static_cast<uint64_t>(length_) + n);
  if (n == 0) return *this;
  if (aliases(s)) {
    std::vector<char> tmp(s, s + n);
    return append(tmp.data(), n);
  }
  char* buf = growTo(length_ + n);
  std::memcpy(buf + length_, s, n);
  setLength(length_ + n);
  return *this;
}

SString& SString::append(size_type n, char c) {
  checkLength(static_cast<uint64_t>(length_) + n);
  if (n == 0) return *this;
  char* buf = growTo(length_ + n);
  std::memset(buf + length_, c, n);
  setLength(length_ + n);
  return *this;
}

SString& SString::insert(size_type pos, const char* s) {
  if (pos > length_) throw RangeException();
  size_type n = static_cast<size_type>(std::strlen(s));
  checkLength(static_cast<uint64_t>(length_) + n);
  if (n == 0) return *this;
  if (aliases(s)) {
    std::vector<char> tmp(s, s + n + 1);
    return insert(pos, tmp.data());
  }
  size_type oldLength = length_;
  char* buf = growTo(length_ + n);
  std::memmove(buf + pos + n, buf + pos, oldLength - pos);
  std::memcpy(buf + pos, s, n);
  setLength(oldLength + n);
  return *this;
}

SString& SString::erase(size_type pos, size_type n) {
  if (pos > length_) throw RangeException();
  size_type count = length_ - pos < n ? length_ - pos : n;
  if (count == 0) return *this;
  if (count == length_ && isShared()) {
    release();
    return *this;
  }
  makePrivate();
  std::memmove(chars_ + pos, chars_ + pos + count, length_ - pos - count);
  setLength(length_ - count);
  return *this;
}

SString& SString::replace(size_type pos, size_type n, const SString& str) {
  if (pos > length_) throw RangeException();
  size_type count = length_ - pos < n ? length_ - pos : n;
  uint64_t newLength = static_cast<uint64_t>(length_) - count + str.length_;
  checkLength(newLength);
  if (count == 0 && str.length_ == 0) return *this;
  if (&str == this || str.chars_ == chars_) {
    SString copy(str.c_str(), str.length_);
    return replace(pos, n, copy);
  }
  size_type oldLength = length_;
  size_type tail = oldLength - pos - count;
  if (newLength == 0 && isShared()) {
    release();
    return *this;
  }
  char* buf;
  if (str.length_ > count) {
    buf = growTo(static_cast<size_type>(newLength));
  } else {
    makePrivate();
    buf = chars_;
  }
  std::memmove(buf + pos + str.length_, buf + pos + count, tail);
  if (str.length_) std::memcpy(buf + pos, str.chars_, str.length_);
  setLength(static_cast<size_type>(newLength));
  return *this;
}

void SString::reserve(size_type n) {
  checkLength(n);
  if (chars_ && !isShared()) {
    if (capacity_ >= n) return;
    try {
      resizeBuffer(roundedCapacity(n));
    } catch (const std::bad_alloc&) {
      resizeBuffer(n);
    }
    return;
  }
  if (!chars_ && n == 0) return;
  // Shared or no buffer yet: the text moves into a new private buffer.
  size_type keep = length_;
  size_type cap = roundedCapacity(n > keep ? n : keep);
  char* fresh;
  try {
    fresh = allocate(cap);
  } catch (const std::bad_alloc&) {
    cap = n > keep ? n : keep;
    fresh = allocate(cap);
  }
  if (chars_) std::memcpy(fresh, chars_, keep);
  release();
  chars_ = fresh;
  capacity_ = cap;
  setLength(keep);
}

void SString::reserveForAppend(size_type n) {
  const uint64_t needed = static_cast<uint64_t>(length_) + n;
  checkLength(needed);
  if (chars_ && !isShared() && capacity_ >= needed) return;
  const uint64_t doubled = 2 * static_cast<uint64_t>(capacity_);
  if (doubled > needed) {
    // The doubled room is a convenience: when it cannot be had, the room
    // actually needed may still be.
    try {
      reserve(static_cast<size_type>(doubled < max_size ? doubled : max_size));
      return;
    } catch (const std::bad_alloc&) {
    }
  }
  reserve(static_cast<size_type>(needed));
}

void SString::shrinkToFit() {
  if (!chars_ || isShared()) return;
  size_type cap = roundedCapacity(length_);
  if (cap >= capacity_) return;
  // Shrinking does not fail in practice; if it ever does, the larger buffer
  // simply stays.
  try {
    resizeBuffer(cap);
  } catch (const std::bad_alloc&) {
  }
}

char& SString::operator[](size_type i) {
  if (i > length_ || !chars_) {
    gOutOfRangeChar = '\0';
    return gOutOfRangeChar;
  }
  makePrivate();
  shareByte() = kFrozen;
  return chars_[i];
}

SString SString::substr(size_type pos, size_type n) const {
  if (pos > length_) throw RangeException();
  return SString(*this, pos, n);
}

SString::size_type SString::findBytes(const char* p, size_type n, size_type pos) const {
  if (n == 0) return pos <= length_ ? pos : npos;
  if (pos >= length_ || n > length_ - pos) return npos;
  const char* base = c_str();
  size_type candidates = length_ - pos - n + 1;
  const char* at = base + pos;
  while (candidates > 0) {
    const char* hit = static_cast<const char*>(std::memchr(at, p[0], candidates));
    if (!hit) return npos;
    if (std::memcmp(hit, p, n) == 0) return static_cast<size_type>(hit - base);
    candidates -= static_cast<size_type>(hit - at) + 1;
    at = hit + 1;
  }
  return npos;
}

SString::size_type SString::rfindBytes(const char* p, size_type n, size_type pos) const {
  if (n == 0) return pos < length_ ? pos : length_;
  if (n > length_) return npos;
  const char* base = c_str();
  size_type i = length_ - n < pos ? length_ - n : pos;
  for (;;) {
    if (base[i] == p[0] && std::memcmp(base + i, p, n) == 0) return i;
    if (i == 0) return npos;
    --i;
  }
}

SString::size_type SString::find(const SString& str, size_type pos) const {
  return findBytes(str.c_str(), str.length_, pos);
}
SString::size_type SString::find(const char* s, size_type pos) const {
  return findBytes(s, static_cast<size_type>(std::strlen(s)), pos);
}
SString::size_type SString::find(char c, size_type pos) const { return findBytes(&c, 1, pos); }
SString::size_type SString::rfind(const SString& str, size_type pos) const {
  return rfindBytes(str.c_str(), str.length_, pos);
}
SString::size_type SString::rfind(const char* s, size_type pos) const {
  return rfindBytes(s, static_cast<size_type>(std::strlen(s)), pos);
}
SString::size_type SString::rfind(char c, size_type pos) const { return rfindBytes(&c, 1, pos); }

SString::size_type SString::find_first_of(const char* set, size_type pos) const {
  if (!*set) return npos;
  const char* base = c_str();
  for (size_type i = pos; i < length_; ++i)
    if (inSet(set, base[i])) return i;
  return npos;
}

SString::size_type SString::find_last_of(const char* set, size_type pos) const {
  if (length_ == 0 || !*set) return npos;
  const char* base = c_str();
  for (size_type i = pos < length_ ? pos : length_ - 1;; --i) {
    if (inSet(set, base[i])) return i;
    if (i == 0) return npos;
  }
}

SString::size_type SString::find_first_not_of(const char* set, size_type pos) const {
  const char* base = c_str();
  for (size_type i = pos; i < length_; ++i)
    if (!inSet(set, base[i])) return i;
  return npos;
}

SString::size_type SString::find_last_not_of(const char* set, size_type pos) const {
  if (length_ == 0) return npos;
  const char* base = c_str();
  for (size_type i = pos < length_ ? pos : length_ - 1;; --i) {
    if (!inSet(set, base[i])) return i;
    if (i == 0) return npos;
  }
}

int SString::compare(const SString& other) const {
  return compareBytes(c_str(), length_, other.c_str(), other.length_);
}

int SString::compare(const char* s) const {
  return compareBytes(c_str(), length_, s, static_cast<size_type>(std::strlen(s)));
}

int SString::compare(size_type pos, size_type n, const SString& str) const {
  if (pos > length_) throw RangeException();
  size_type count = length_ - pos < n ? length_ - pos : n;
  return compareBytes(c_str() + pos, count, str.c_str(), str.length_);
}

int SString::compare(size_type pos, size_type n, const SString& str, size_type spos, size_type sn) const {
  if (spos > str.length_) throw RangeException();
  if (pos > length_) throw RangeException();
  size_type count = length_ - pos < n ? length_ - pos : n;
  size_type scount = str.length_ - spos < sn ? str.length_ - spos : sn;
  return compareBytes(c_str() + pos, count, str.c_str() + spos, scount);
}

SString operator+(const SString& a, const SString& b) {
  SString r(a);
  r.append(b);
  return r;
}

SString operator+(const SString& a, const char* b) {
  SString r(a);
  r.append(b);
  return r;
}

SString operator+(const char* a, const SString& b) {
  SString r(a);
  r.append(b);
  return r;
}

SString operator+(const SString& a, char b) {
  SString r(a);
  r.append(1, b);
  return r;
}

// strtol reads numbers as "%ld" does (blanks, a sign, the leading digits,
// clamped at the bounds) without the scanf machinery, which would add a
// tenth to the static launcher program.
bool toLong(const SString& text, long& out) {
  char* end = nullptr;
  long value = std::strtol(text.c_str(), &end, 10);
  if (end == text.c_str()) return false;
  out = value;
  return true;
}

// As "%hd": read as a long, then cut to a short.
bool toShort(const SString& text, short& out) {
  long value = 0;
  if (!toLong(text, value)) return false;
  out = static_cast<short>(value);
  return true;
}

SString fromLong(long n) {
  char buf[32];
  std::snprintf(buf, sizeof buf, "%ld", n);
  return SString(buf);
}

SString::size_type endsWith(const SString& text, const char* suffix) {
  SString::size_type n = static_cast<SString::size_type>(std::strlen(suffix));
  if (n > text.length()) return SString::npos;
  SString::size_type start = text.length() - n;
  return std::memcmp(text.c_str() + start, suffix, n) == 0 ? start : SString::npos;
}

SString trim(const SString& text, const char* set) {
  SString::size_type last = text.find_last_not_of(set);
  if (last == SString::npos) return SString();
  SString::size_type first = text.find_first_not_of(set);
  if (first == 0 && last + 1 == text.length()) return text;
  return text.substr(first, last - first + 1);
}

SString stripOuterQuotes(const SString& text) {
  const SString::size_type start = !text.empty() && text[0] == '"' ? 1 : 0;
  SString::size_type end = text.length();
  if (end > start && text[end - 1] == '"') --end;
  return text.substr(start, end - start);
}
