#include "base/Deque.h"

#include <cstring>

const SString emptyString;

GenericDeque::~GenericDeque() {
  removeAll();
  delete[] entries_;
}

GenericDeque::GenericDeque(GenericDeque&& other) noexcept
    : entries_(other.entries_), count_(other.count_), growBy_(other.growBy_), capacity_(other.capacity_) {
  other.entries_ = nullptr;
  other.count_ = 0;
  other.capacity_ = 0;
}

GenericDeque& GenericDeque::operator=(GenericDeque&& other) noexcept {
  if (this == &other) return *this;
  removeAll();
  delete[] entries_;
  entries_ = other.entries_;
  count_ = other.count_;
  growBy_ = other.growBy_;
  capacity_ = other.capacity_;
  other.entries_ = nullptr;
  other.count_ = 0;
  other.capacity_ = 0;
  return *this;
}

void GenericDeque::insertEntry(int i, DequeEntry* entry) {
  if (i >= 0 && !isValidIndex(i)) {
    delete entry;
    return;
  }
  int slot = i < 0 ? count_ : i;
  if (capacity_ < count_ + 1) {
    // The capacity doubles (in whole increments of growBy_: 30, 60, 120,
    // ...), so that appending stays linear over a long list, such as the
    // index of a launcher with many files or a tag file of many lines.
    int newCapacity = capacity_ + (capacity_ > growBy_ ? capacity_ : growBy_);
    newCapacity = ((newCapacity + growBy_ - 1) / growBy_) * growBy_;
    DequeEntry** grown = new DequeEntry*[newCapacity];
    for (int j = 0; j < count_; ++j) grown[j] = entries_[j];
    for (int j = count_; j < newCapacity; ++j) grown[j] = nullptr;
    delete[] entries_;
    entries_ = grown;
    capacity_ = newCapacity;
  }
  for (int j = count_; j > slot; --j) entries_[j] = entries_[j - 1];
  entries_[slot] = entry;
  ++count_;
}

void GenericDeque::removeAt(int i) {
  if (!isValidIndex(i)) return;
  delete entries_[i];
  entries_[i] = nullptr;
  for (int j = i + 1; j < count_; ++j) {
    entries_[j - 1] = entries_[j];
    entries_[j] = nullptr;
  }
  --count_;
}

void GenericDeque::removeAll() {
  for (int j = 0; j < count_; ++j) {
    delete entries_[j];
    entries_[j] = nullptr;
  }
  count_ = 0;
}
