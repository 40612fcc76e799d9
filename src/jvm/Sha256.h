// SHA-256, for the fingerprints of the store of verified JVMs: the
// verification class a stored answer came from, and the store file's own
// check that it is whole.
#pragma once

#include <cstddef>
#include <cstdint>

#include "base/SString.h"

class Sha256 {
 public:
  Sha256();
  void update(const void* bytes, size_t n);
  void update(const SString& text) { update(text.data(), text.length()); }
  // The digest as 64 lower-case hexadecimal digits; ends the hashing.
  SString hexDigest();

 private:
  void compress(const unsigned char* block);

  uint32_t state_[8];
  unsigned char block_[64];
  size_t blockUsed_;
  uint64_t totalBytes_;
};

SString sha256Hex(const SString& bytes);
