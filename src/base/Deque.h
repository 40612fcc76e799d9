// The launcher's lists of strings and of the objects it owns (arguments,
// tag files, JVM matches, temporary paths) are deques: a growable array of
// owning entry pointers with an index-based interface in which invalid
// indices read as null (or as the shared empty string) instead of failing.
// One generic class holds the entries; a thin typed template wraps and
// unwraps the elements. Byte buffers and plain values (checksums, process
// ids), and lists of pointers borrowed from elsewhere, are std::vectors.
#pragma once

#include "base/SString.h"

class DequeEntry {
 public:
  virtual ~DequeEntry() {}
};

class GenericDeque {
 public:
  GenericDeque() : entries_(nullptr), count_(0), growBy_(30), capacity_(0) {}
  virtual ~GenericDeque();
  GenericDeque(const GenericDeque&) = delete;
  GenericDeque& operator=(const GenericDeque&) = delete;
  // A moved deque hands over its entries and is left empty.
  GenericDeque(GenericDeque&& other) noexcept;
  GenericDeque& operator=(GenericDeque&& other) noexcept;

  int count() const { return count_; }
  bool isEmpty() const { return count_ < 1; }
  bool isValidIndex(int i) const { return i >= 0 && i < count_; }
  int capacity() const { return capacity_; }

  DequeEntry* getEntry(int i) { return isValidIndex(i) ? entries_[i] : nullptr; }
  const DequeEntry* getEntry(int i) const { return isValidIndex(i) ? entries_[i] : nullptr; }

  // A negative index appends; a valid index inserts before that entry; any
  // other index is ignored and the entry is deleted, since the deque was
  // handed its ownership.
  void insertEntry(int i, DequeEntry* entry);
  void addLast(DequeEntry* entry) { insertEntry(-1, entry); }
  void addFirst(DequeEntry* entry) { insertEntry(0, entry); }

  void removeAt(int i);
  void removeLast() { removeAt(count_ - 1); }
  void removeAll();

 private:
  DequeEntry** entries_;
  int count_;
  int growBy_;
  int capacity_;
};

// The entry of a typed deque: owns its element.
template <class T>
class PtrDE : public DequeEntry {
 public:
  explicit PtrDE(T* element) : item(element) {}
  ~PtrDE() override { delete item; }
  PtrDE(const PtrDE&) = delete;
  PtrDE& operator=(const PtrDE&) = delete;
  T* item;
};

// A typed owning deque of T pointers; Entry is the entry class that holds
// one element (PtrDE<T> unless the element type needs more).
template <class T, class Entry = PtrDE<T>>
class PtrDeque : public GenericDeque {
 public:
  T* get(int i) const {
    const Entry* e = static_cast<const Entry*>(getEntry(i));
    return e ? e->item : nullptr;
  }
  T* first() const { return get(0); }
  T* last() const { return get(count() - 1); }
  template <class... Extra>
  void add(T* element, Extra... extra) {
    addLast(new Entry(element, extra...));
  }
  template <class... Extra>
  void insert(int i, T* element, Extra... extra) {
    insertEntry(i, new Entry(element, extra...));
  }
  template <class... Extra>
  void addFirst(T* element, Extra... extra) {
    GenericDeque::addFirst(new Entry(element, extra...));
  }
};

typedef PtrDE<SString> SStringPtrDE;

// The one empty string that every StringDeque returns for an index that
// does not exist. Callers only read it.
extern const SString emptyString;

// Strings are stored as copies, so the caller's string can change afterwards.
class StringDeque : public PtrDeque<SString> {
 public:
  const SString& get(int i) const {
    const SString* s = PtrDeque<SString>::get(i);
    return s ? *s : emptyString;
  }
  const SString& first() const { return get(0); }
  const SString& last() const { return get(count() - 1); }
  void add(const SString& s) { PtrDeque<SString>::add(new SString(s)); }
  void insert(int i, const SString& s) { PtrDeque<SString>::insert(i, new SString(s)); }
  void addFirst(const SString& s) { PtrDeque<SString>::addFirst(new SString(s)); }
};

struct StringPair {
  SString first;
  SString second;
};
typedef PtrDE<StringPair> StringPairPtrDE;
typedef PtrDeque<StringPair> StringPairPtrDeque;
