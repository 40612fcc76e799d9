// What every fuzz entry point defines. libFuzzer calls it with inputs it
// makes up; the replay program (ReplayMain.cpp) calls it with the kept
// inputs of fuzz/corpus/<target>/.
//
// An entry point returns 0 for every input. It lets no exception escape
// that the code under test documents as its failure path; anything else
// (a crash, a sanitizer report, a broken invariant that it aborts for) is
// a fault to fix.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size);

// Ends the process with the message when an invariant that the entry point
// checks does not hold, so that libFuzzer keeps the input.
[[noreturn]] inline void FuzzCheckFailed(const char* what, const char* file, int line) {
  std::fprintf(stderr, "%s:%d: check failed: %s\n", file, line, what);
  std::abort();
}
#define FUZZ_CHECK(condition) ((condition) ? static_cast<void>(0) : FuzzCheckFailed(#condition, __FILE__, __LINE__))
