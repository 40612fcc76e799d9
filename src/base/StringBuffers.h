// Where the buffers of SString come from. Each buffer holds a share count,
// the characters and a terminator: capacity + 2 bytes.
//
// Small buffers come from the C library's allocator rather than operator new
// so that a private buffer can be resized in place with realloc.
//
// Large buffers (8 MiB of characters and more) are mappings of their own,
// starting on a huge-page boundary and marked for huge pages: filling one
// then faults in a 2 MiB page at a time instead of 4 KiB, which is most of
// the cost of gathering a long captured output. They grow with mremap, which
// moves page tables instead of characters. Which of the two a buffer came
// from follows from its capacity alone, so every way of making, resizing or
// freeing a buffer goes through these three functions.
#pragma once

#include <cstddef>

// A buffer for capacity characters; throws std::bad_alloc.
char* AllocateStringBuffer(size_t capacity);
void FreeStringBuffer(char* raw, size_t capacity);
// The buffer at raw with room for capacity characters resized to room for
// newCapacity, keeping its first keep bytes (share count, characters and
// terminator); null on failure, with the old buffer untouched.
char* ResizeStringBuffer(char* raw, size_t capacity, size_t newCapacity, size_t keep);
