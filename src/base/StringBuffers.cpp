#include "base/StringBuffers.h"

#include <sys/mman.h>
#include <unistd.h>

#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <new>

namespace {

const size_t kLargeCapacity = 8u * 1024 * 1024;
const size_t kHugePage = 2u * 1024 * 1024;
// The share count sits this far into the mapping, so that the characters
// start on a cache line: the kernel copies a pipe's pages into a destination
// one byte past a line boundary at well under full speed.
const size_t kLead = 63;

bool isLarge(size_t capacity) { return capacity >= kLargeCapacity; }

size_t mappedSize(size_t capacity) {
  static const size_t page = static_cast<size_t>(::sysconf(_SC_PAGESIZE));
  return (kLead + capacity + 2 + page - 1) / page * page;
}

// A fresh anonymous mapping of size bytes starting on a huge-page boundary,
// or null. The mapping is made larger by one huge page and cut down to the
// aligned part.
char* mapAligned(size_t size) {
  void* p = ::mmap(nullptr, size + kHugePage, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
  if (p == MAP_FAILED) return nullptr;
  uintptr_t start = reinterpret_cast<uintptr_t>(p);
  uintptr_t aligned = (start + kHugePage - 1) & ~static_cast<uintptr_t>(kHugePage - 1);
  if (aligned > start) ::munmap(p, aligned - start);
  size_t after = start + size + kHugePage - (aligned + size);
  if (after > 0) ::munmap(reinterpret_cast<void*>(aligned + size), after);
  // Without huge pages the mapping still works, with small pages.
  (void)::madvise(reinterpret_cast<void*>(aligned), size, MADV_HUGEPAGE);
  return reinterpret_cast<char*>(aligned);
}

// Resizes the mapping at raw to newSize, keeping its contents; null on
// failure, with the old mapping untouched. Growth in place keeps the start;
// otherwise the pages move to a new aligned place. Where the system refuses
// to remap (a container's filter may), the tail is unmapped or the pages
// are copied instead: slower, with the same result.
char* remapAligned(char* raw, size_t oldSize, size_t newSize) {
  if (newSize == oldSize) return raw;
  void* p = ::mremap(raw, oldSize, newSize, 0);
  if (p != MAP_FAILED) return static_cast<char*>(p);
  if (newSize < oldSize) return ::munmap(raw + newSize, oldSize - newSize) == 0 ? raw : nullptr;
  char* target = mapAligned(newSize);
  if (!target) return nullptr;
  p = ::mremap(raw, oldSize, newSize, MREMAP_MAYMOVE | MREMAP_FIXED, target);
  if (p == MAP_FAILED) {
    std::memcpy(target, raw, oldSize);
    ::munmap(raw, oldSize);
    return target;
  }
  (void)::madvise(p, newSize, MADV_HUGEPAGE);
  return static_cast<char*>(p);
}

}  // namespace

char* AllocateStringBuffer(size_t capacity) {
  char* raw;
  if (isLarge(capacity)) {
    char* mapped = mapAligned(mappedSize(capacity));
    raw = mapped ? mapped + kLead : nullptr;
  } else {
    raw = static_cast<char*>(std::malloc(capacity + 2));
  }
  if (!raw) throw std::bad_alloc();
  return raw;
}

void FreeStringBuffer(char* raw, size_t capacity) {
  if (isLarge(capacity)) {
    ::munmap(raw - kLead, mappedSize(capacity));
  } else {
    std::free(raw);
  }
}

char* ResizeStringBuffer(char* raw, size_t capacity, size_t newCapacity, size_t keep) {
  if (isLarge(capacity) && isLarge(newCapacity)) {
    char* mapped = remapAligned(raw - kLead, mappedSize(capacity), mappedSize(newCapacity));
    return mapped ? mapped + kLead : nullptr;
  }
  if (!isLarge(capacity) && !isLarge(newCapacity)) return static_cast<char*>(std::realloc(raw, newCapacity + 2));
  // From one kind to the other: a copy, once.
  char* fresh;
  try {
    fresh = AllocateStringBuffer(newCapacity);
  } catch (const std::bad_alloc&) {
    return nullptr;
  }
  std::memcpy(fresh, raw, keep);
  FreeStringBuffer(raw, capacity);
  return fresh;
}
