// The launcher's string type: a byte string whose copies share one buffer
// until one of them changes. The share count is a single byte kept in front
// of the characters, so a buffer is one allocation and c_str() needs no
// copy. The launcher passes and returns its texts as SString by value;
// sharing keeps that cheap. A byte buffer that only one file fills, or the
// key of a standard container, may be a std::string instead, and the packer
// and the tests use std::string, converting where they call the launcher's
// code (ARCHITECTURE.md says where each belongs).
#pragma once

#include <cstdint>
#include <iosfwd>

// A position argument beyond the end of the string it indexes.
class RangeException {};
// A result longer than SString::max_size.
class LengthException {};

class SString {
 public:
  typedef uint32_t size_type;
  static const size_type npos = 0xFFFFFFFFu;
  static const size_type max_size = 0xFFFFFFFDu;

  SString() : chars_(nullptr), length_(0), capacity_(0) {}
  SString(const SString& str);
  SString(const SString& str, size_type pos, size_type n = npos);
  SString(const char* s);  // NOLINT: implicit on purpose, like the literals it replaces
  SString(const char* s, size_type n);
  SString(size_type n, char c);
  virtual ~SString();

  SString& operator=(const SString& str) { return assign(str); }
  SString& operator=(const char* s) { return assign(s); }

  SString& assign(const SString& str);
  SString& assign(const SString& str, size_type pos, size_type n);
  SString& assign(const char* s);
  SString& assign(const char* s, size_type n);
  SString& assign(size_type n, char c);

  SString& operator+=(const SString& str) { return append(str); }
  SString& operator+=(const char* s) { return append(s); }
  SString& operator+=(char c) { return append(1, c); }
  SString& append(const SString& str);
  SString& append(const SString& str, size_type pos, size_type n);
  SString& append(const char* s);
  SString& append(const char* s, size_type n);
  SString& append(size_type n, char c);

  SString& insert(size_type pos, const char* s);
  SString& erase(size_type pos = 0, size_type n = npos);
  SString& replace(size_type pos, size_type n, const SString& str);

  const char* c_str() const { return chars_ ? chars_ : emptyChars(); }
  const char* data() const { return c_str(); }
  size_type length() const { return length_; }
  size_type size() const { return length_; }
  bool empty() const { return length_ == 0; }
  size_type capacity() const { return capacity_; }

  char operator[](size_type i) const { return c_str()[i]; }
  // Hands out a writable reference: the buffer is made private and frozen
  // (never shared again), because the caller may keep the reference.
  char& operator[](size_type i);

  SString substr(size_type pos = 0, size_type n = npos) const;

  // Makes the buffer private with room for at least n characters (rounded up
  // by the minimum reserve); the text stays as it is. A private buffer is
  // resized where it lies, which for a large one means remapping instead of
  // copying, so a caller that reserves ahead in growing steps can gather a
  // long text without copying it again and again. Throws LengthException
  // when n exceeds max_size.
  void reserve(size_type n);
  // Makes room to append n characters, as reserve(length() + n) does,
  // except that a buffer too small grows to at least twice its capacity.
  // Appending never grows a buffer by more than the minimum reserve, so a
  // text gathered from many pieces would be moved once per piece; a caller
  // that calls this before each append moves it a number of times that
  // grows with the logarithm of its length. Shrink the result with
  // shrinkToFit when it is kept.
  void reserveForAppend(size_type n);
  // Gives back capacity beyond what the minimum reserve gives the current
  // length. A shared buffer is left alone.
  void shrinkToFit();
  // Appends characters that produce writes straight into the buffer:
  // produce(where, room) may write up to room characters at where and
  // returns how many it wrote. A count of 0 or less appends nothing; the
  // count is passed back either way, so read() can be the producer. Room is
  // made as by reserve(length() + room). A count beyond room throws
  // LengthException and appends nothing.
  template <class Producer>
  auto appendProduced(size_type room, Producer produce) -> decltype(produce(static_cast<char*>(nullptr), room));

  size_type find(const SString& str, size_type pos = 0) const;
  size_type find(const char* s, size_type pos = 0) const;
  size_type find(char c, size_type pos = 0) const;
  size_type rfind(const SString& str, size_type pos = npos) const;
  size_type rfind(const char* s, size_type pos = npos) const;
  size_type rfind(char c, size_type pos = npos) const;
  size_type find_first_of(const char* set, size_type pos = 0) const;
  size_type find_last_of(const char* set, size_type pos = npos) const;
  size_type find_first_not_of(const char* set, size_type pos = 0) const;
  size_type find_last_not_of(const char* set, size_type pos = npos) const;

  int compare(const SString& other) const;
  int compare(const char* s) const;
  int compare(size_type pos, size_type n, const SString& str) const;
  int compare(size_type pos, size_type n, const SString& str, size_type spos, size_type sn) const;

  // The share count of the buffer: 0 one owner, 1..254 shared by count+1
  // strings, 255 frozen. Exposed for tests of the sharing rules.
  unsigned shareCount() const;

 private:
  static const char* emptyChars();
  static char* allocate(size_type capacity);
  static void deallocate(char* chars, size_type capacity);
  void resizeBuffer(size_type capacity);
  static size_type roundedCapacity(size_type n);
  unsigned char& shareByte() const { return reinterpret_cast<unsigned char&>(chars_[-1]); }
  bool isShared() const;
  void release();
  void share(const SString& str);
  void copyIn(const char* s, size_type n);
  void makePrivate();
  char* growTo(size_type newLength);
  void setLength(size_type n);
  size_type findBytes(const char* p, size_type n, size_type pos) const;
  size_type rfindBytes(const char* p, size_type n, size_type pos) const;
  bool aliases(const char* s) const;

  char* chars_;
  size_type length_;
  size_type capacity_;
};

template <class Producer>
auto SString::appendProduced(size_type room, Producer produce) -> decltype(produce(static_cast<char*>(nullptr), room)) {
  if (static_cast<uint64_t>(length_) + room > max_size) throw LengthException();
  reserve(length_ + room);
  // The producer may have written over the terminator whatever it returns,
  // so every way out stores it again.
  decltype(produce(chars_, room)) produced;
  try {
    produced = produce(chars_ + length_, room);
  } catch (...) {
    setLength(length_);
    throw;
  }
  uint64_t added = produced > 0 ? static_cast<uint64_t>(produced) : 0;
  if (added > room) {
    setLength(length_);
    throw LengthException();
  }
  setLength(length_ + static_cast<size_type>(added));
  return produced;
}

inline bool operator==(const SString& a, const SString& b) { return a.compare(b) == 0; }
inline bool operator==(const SString& a, const char* b) { return a.compare(b) == 0; }
inline bool operator==(const char* a, const SString& b) { return b.compare(a) == 0; }
inline bool operator!=(const SString& a, const SString& b) { return !(a == b); }
inline bool operator!=(const SString& a, const char* b) { return !(a == b); }
inline bool operator!=(const char* a, const SString& b) { return !(a == b); }
inline bool operator<(const SString& a, const SString& b) { return a.compare(b) < 0; }

SString operator+(const SString& a, const SString& b);
SString operator+(const SString& a, const char* b);
SString operator+(const char* a, const SString& b);
SString operator+(const SString& a, char b);

// Writes the characters to a standard stream. A template, so that only the
// code that prints (the tests, through GoogleTest) instantiates it: the
// launcher itself carries no stream code.
template <class Traits>
std::basic_ostream<char, Traits>& operator<<(std::basic_ostream<char, Traits>& out, const SString& s) {
  return out.write(s.c_str(), s.length());
}

// Reads text with the C library's "%ld" scan; true when one number was read.
bool toLong(const SString& text, long& out);
// The same with "%hd".
bool toShort(const SString& text, short& out);
SString fromLong(long n);
// Index where suffix starts when text ends with it, else npos.
SString::size_type endsWith(const SString& text, const char* suffix);
// Removes every character of set from the end, then from the start.
SString trim(const SString& text, const char* set);
// Removes one double quote from the start and one from the end, each where
// it stands: a value quoted for a shell arrives with its quotes, and one cut
// short keeps the quote it has.
SString stripOuterQuotes(const SString& text);

// The white-space characters every trim of the system uses.
extern const char* const kWhiteSpace;
